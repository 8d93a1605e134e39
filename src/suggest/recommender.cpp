#include "suggest/recommender.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "library/text_tools.h"
#include "suggest/suggestion_wording.h"

namespace kesta {
namespace {

using Recommender::Relation;
using KeyKind = MusicalKey::Relation::Kind;

// A pool track that may be suggested, with its relation to the current track.
struct Candidate {
  std::size_t poolIndex;
  const Track* track;
  Relation relation;
  std::uint32_t song;  // the pool's number of its song
};

struct Entry {
  const Candidate* candidate;
  double score;
};

// What the scoring reads of the request, prepared once per ranking.
struct ScoreContext {
  explicit ScoreContext(const RecommendationRequest& request)
      : request(request), currentGenreKey(TextTools::normalized(request.current.genre)) {
    const auto& artists = request.recentArtists;
    for (std::size_t i = 0; i < artists.size(); ++i)
      recentArtistDistance[artists[i]] = artists.size() - 1 - i;
    // Only pairs that start at the current track can apply; keyed by the later
    // track's key text, they are found without building a pair key per candidate.
    const std::string prefix = RecommendationRequest::pairKey(request.current.key, StableKey{});
    for (const auto& [pair, count] : request.playedPairs)
      if (pair.starts_with(prefix))
        pairCountAfterCurrent[std::string_view(pair).substr(prefix.size())] = count;
  }

  const RecommendationRequest& request;
  std::string currentGenreKey;
  // Normalised artist → loads since its last one (0 for the most recent load).
  std::unordered_map<std::string_view, std::size_t> recentArtistDistance;
  // The later track's key text → times it followed the current track.
  std::unordered_map<std::string_view, int> pairCountAfterCurrent;
};

double harmonicTerm(const std::optional<MusicalKey::Relation>& key) {
  if (!key) return -3.0;
  switch (key->kind) {
    case KeyKind::same:
      return 6.0;
    case KeyKind::relative:
    case KeyKind::adjacent:
      return 5.0;
    case KeyKind::diagonal:
      return 2.0;
    case KeyKind::change:
      break;
  }
  return 0.0;  // a key change never fits groove, raise or breather
}

double laneTerm(Lane lane, double t, const std::optional<int>& delta) {
  switch (lane) {
    case Lane::groove:
      return delta ? -6.0 * std::abs(t) - 4.0 * std::abs(*delta) : -6.0 * std::abs(t);
    case Lane::raise:
      return delta ? -5.0 * std::abs(*delta - 1.5) - 2.0 * std::abs(t - 1.5) : -5.0 * std::abs(t - 3.0);
    case Lane::breather:
      return delta ? -4.0 * std::max(t, 0.0) - 5.0 * std::abs(*delta + 2.0) : -4.0 * std::abs(t + 4.5);
    case Lane::pivot:
      return -4.0 * std::abs(t);
  }
  return 0.0;
}

// The terms of a score that do not depend on the lane, each made once per track.
struct TrackTerms {
  double rating = 0;  // the DJ's rating, else the stars
  double plays = 0;
  double playedPair = 0;
  double recentArtist = 0;  // a penalty, subtracted
};

TrackTerms trackTerms(const ScoreContext& context, const Track& track, std::string_view artistKey) {
  TrackTerms terms;
  const auto& ratings = context.request.ratings;
  if (const auto rating = ratings.find(track.key); rating != ratings.end()) {
    terms.rating = (static_cast<double>(rating->second) - 3.0) * 3.0;
  } else if (track.stars > 0) {
    terms.rating = (static_cast<double>(track.stars) - 3.0) * 1.5;
  }
  // A negative play count counts as none, so that no score is ever NaN.
  terms.plays = std::min(std::log2(std::max(track.playCount, 0) + 1.0), 4.0);
  const auto& pairs = context.pairCountAfterCurrent;
  if (const auto pair = pairs.find(track.key.raw); pair != pairs.end())
    terms.playedPair = std::min(pair->second, 3) * 3.0;
  if (!artistKey.empty()) {
    const auto& recent = context.recentArtistDistance;
    if (const auto found = recent.find(artistKey); found != recent.end())
      terms.recentArtist = found->second < 2 ? 12.0 : 5.0;
  }
  return terms;
}

// The terms are added in a fixed order so that equal inputs give bit-equal scores.
double scoreWith(const ScoreContext& context, Lane lane, const Track& track, const Relation& relation,
                 std::string_view genreKey, const TrackTerms& terms) {
  const Track& current = context.request.current;
  double sum = laneTerm(lane, relation.tempoPercent, relation.energyDelta);
  if (lane == Lane::pivot) {
    const int steps = relation.key ? relation.key->steps : 0;
    sum += steps >= 3 ? 8.0 : 3.0;
    if (current.musicalKey && track.musicalKey && current.musicalKey->minor != track.musicalKey->minor)
      sum += 2.0;
    if (!current.genre.empty() && !track.genre.empty() && context.currentGenreKey != genreKey) sum += 4.0;
  } else {
    sum += harmonicTerm(relation.key);
    if (!current.genre.empty() && context.currentGenreKey == genreKey) sum += 2.0;
  }
  if (relation.doubleTime) sum -= 4.0;
  sum += terms.rating;
  sum = terms.plays + sum;
  sum = sum + terms.playedPair;
  sum -= terms.recentArtist;
  return sum;
}

// Higher score first, then the track key ascending; the pool position keeps
// the order total when two entries share a key.
bool ranksBefore(const Entry& a, const Entry& b) {
  if (a.score != b.score) return a.score > b.score;
  if (a.candidate->track->key != b.candidate->track->key)
    return a.candidate->track->key < b.candidate->track->key;
  return a.candidate->poolIndex < b.candidate->poolIndex;
}

// The songs already chosen as some lane's first option: never more than four.
class TakenSongs {
 public:
  bool contains(std::uint32_t song) const {
    return std::find(songs_.begin(), songs_.end(), song) != songs_.end();
  }
  bool insert(std::uint32_t song) {
    if (contains(song)) return false;
    songs_.push_back(song);
    return true;
  }

 private:
  std::vector<std::uint32_t> songs_;
};

std::vector<Candidate> candidatesOf(const RecommendationRequest& request) {
  const Track& current = request.current;
  const TrackPool& pool = request.pool;
  // Songs that may not, or no longer, be suggested: the current one, the
  // excluded ones, and each one once its first pool entry became a candidate.
  std::vector<bool> closed(pool.songCount());
  if (const auto song = pool.songNumber(current.songKey())) closed[*song] = true;
  for (const auto& excluded : request.excludedSongs)
    if (const auto song = pool.songNumber(excluded)) closed[*song] = true;

  std::vector<Candidate> candidates;
  for (std::size_t i = 0; i < pool.size(); ++i) {
    // Every test drops the track, so the cheap ones go first.
    const Track& track = pool[i];
    const std::uint32_t song = pool.songNumber(i);
    if (!pool.isRecommendable(i) || closed[song] || track.key == current.key) continue;
    const auto relation = Recommender::relation(current, track);
    if (!relation || request.excludedKeys.contains(track.key)) continue;
    closed[song] = true;
    candidates.push_back(Candidate{i, &track, *relation, song});
  }
  return candidates;
}

LaneResult emptyLane(Lane lane, SuggestionWording::EmptyReason reason) {
  return LaneResult{lane, {}, std::string(reason.full), std::string(reason.brief)};
}

bool isKeyChange(const std::optional<MusicalKey::Relation>& key) {
  return key && key->kind == KeyKind::change && key->steps >= 2;
}

// A lane that got no first option and has nothing eligible.
LaneResult fallback(Lane lane, const Track& current, const std::vector<Candidate>& candidates,
                    const TakenSongs& taken) {
  if (lane != Lane::pivot) return emptyLane(lane, SuggestionWording::nothingEligible(lane));
  if (!current.musicalKey) return emptyLane(lane, SuggestionWording::pivotWithoutKey());

  // The nearest real key change within twice the pivot's tempo range, energy aside.
  const Candidate* best = nullptr;
  for (const Candidate& candidate : candidates) {
    const double distance = std::abs(candidate.relation.tempoPercent);
    if (!isKeyChange(candidate.relation.key) || !(distance <= 12.0) || taken.contains(candidate.song))
      continue;
    if (best == nullptr) {
      best = &candidate;
      continue;
    }
    const double bestDistance = std::abs(best->relation.tempoPercent);
    if (distance < bestDistance || (distance == bestDistance && candidate.track->key < best->track->key))
      best = &candidate;
  }
  if (best == nullptr) return emptyLane(lane, SuggestionWording::pivotNothingFound());
  Suggestion option{lane, *best->track,
                    SuggestionWording::explain(lane, current, *best->track, best->relation),
                    SuggestionWording::farTempoCaveat(best->relation.tempoPercent)};
  return LaneResult{lane, {std::move(option)}, std::nullopt, std::nullopt};
}

}  // namespace

Recommender::TempoMatch Recommender::tempoPercent(double from, double to) {
  const std::array<double, 3> ratios{to / from, 2.0 * to / from, 0.5 * to / from};
  std::size_t kept = 0;
  for (std::size_t i = 1; i < ratios.size(); ++i)
    if (std::abs(ratios[i] - 1.0) < std::abs(ratios[kept] - 1.0)) kept = i;
  return TempoMatch{(ratios[kept] - 1.0) * 100.0, kept != 0};
}

std::optional<Recommender::Relation> Recommender::relation(const Track& current, const Track& candidate) {
  if (!current.hasBPM() || !candidate.hasBPM()) return std::nullopt;
  const TempoMatch tempo = tempoPercent(*current.bpm, *candidate.bpm);
  Relation result{tempo.percent, tempo.doubleTime, std::nullopt, std::nullopt};
  if (current.musicalKey && candidate.musicalKey)
    result.key = current.musicalKey->relation(*candidate.musicalKey);
  if (current.energy && candidate.energy) result.energyDelta = *candidate.energy - *current.energy;
  return result;
}

double Recommender::score(Lane lane, const Track& candidate, const Relation& relation,
                          const RecommendationRequest& request) {
  const ScoreContext context(request);
  return scoreWith(context, lane, candidate, relation, TextTools::normalized(candidate.genre),
                   trackTerms(context, candidate, TextTools::normalized(candidate.artist)));
}

bool Recommender::eligible(Lane lane, const Relation& relation) {
  const double t = relation.tempoPercent;
  if (std::isnan(t)) return false;
  const auto& d = relation.energyDelta;
  if (lane == Lane::pivot) {
    if (!isKeyChange(relation.key)) return false;
    return d ? std::abs(t) <= 6.0 && std::abs(*d) <= 2 : std::abs(t) <= 6.0;
  }
  if (relation.key && !relation.key->isNeighbour()) return false;
  switch (lane) {
    case Lane::groove:
      return d ? std::abs(t) <= 3.0 && std::abs(*d) <= 1 : std::abs(t) <= 3.0;
    case Lane::raise:
      return d ? *d >= 1 && *d <= 3 && t >= -1.5 && t <= 6.0 : t >= 1.5 && t <= 6.0;
    case Lane::breather:
      return d ? *d >= -3 && *d <= -1 && t >= -10.0 && t <= 1.5 : t >= -10.0 && t <= -2.5;
    case Lane::pivot:
      break;
  }
  return false;
}

namespace {

constexpr auto kLanes = Lane::allCases();
template <class T>
using PerLane = std::array<T, kLanes.size()>;

// Each lane's eligible candidates with their scores, in candidate order.
PerLane<std::vector<Entry>> laneLists(const std::vector<Candidate>& candidates,
                                      const RecommendationRequest& request) {
  const ScoreContext context(request);
  const TrackPool& pool = request.pool;
  PerLane<std::vector<Entry>> lists;
  for (const Candidate& candidate : candidates) {
    std::optional<TrackTerms> terms;
    for (const Lane lane : kLanes) {
      if (!Recommender::eligible(lane, candidate.relation)) continue;
      if (!terms) terms = trackTerms(context, *candidate.track, pool.artistKey(candidate.poolIndex));
      const double value = scoreWith(context, lane, *candidate.track, candidate.relation,
                                     pool.genreKey(candidate.poolIndex), *terms);
      lists[lane].push_back(Entry{&candidate, value});
    }
  }
  return lists;
}

// The lane with the fewest eligible candidates chooses its first option first.
PerLane<Lane> fillOrder(const PerLane<std::size_t>& eligibleCount) {
  PerLane<Lane> order = kLanes;
  std::sort(order.begin(), order.end(), [&](Lane a, Lane b) {
    if (eligibleCount[a] != eligibleCount[b]) return eligibleCount[a] < eligibleCount[b];
    return a.id() < b.id();
  });
  return order;
}

// Only the head of a list is ever read: a list holds each song once and at
// most three songs are taken before a lane chooses, so its first option lies
// within its first four entries and its other options within the next `limit`.
void keepHeads(PerLane<std::vector<Entry>>& lists, std::size_t limit) {
  const std::size_t headLength = limit + kLanes.size();
  for (auto& list : lists) {
    const auto head = list.begin() + static_cast<std::ptrdiff_t>(std::min(list.size(), headLength));
    std::partial_sort(list.begin(), head, list.end(), ranksBefore);
    list.erase(head, list.end());
  }
}

// Each lane in fill order takes the best song no lane has taken yet.
PerLane<const Candidate*> chooseLeads(const PerLane<std::vector<Entry>>& lists, const PerLane<Lane>& order,
                                      TakenSongs& taken) {
  PerLane<const Candidate*> leads{};
  for (const Lane lane : order) {
    for (const Entry& entry : lists[lane]) {
      if (taken.insert(entry.candidate->song)) {
        leads[lane] = entry.candidate;
        break;
      }
    }
  }
  return leads;
}

// The lane's own first option, then, best first, what no lane shows first.
LaneResult laneOptions(Lane lane, const Candidate* lead, const std::vector<Entry>& list, std::size_t limit,
                       const TakenSongs& taken, const Track& current) {
  std::vector<const Candidate*> shown;
  if (limit > 0) shown.push_back(lead);
  for (const Entry& entry : list) {
    if (shown.size() >= limit) break;
    if (entry.candidate != lead && !taken.contains(entry.candidate->song)) shown.push_back(entry.candidate);
  }

  LaneResult result{lane, {}, std::nullopt, std::nullopt};
  result.options.reserve(shown.size());
  for (const Candidate* candidate : shown) {
    result.options.push_back(
        Suggestion{lane, *candidate->track,
                   SuggestionWording::explain(lane, current, *candidate->track, candidate->relation),
                   SuggestionWording::caveat(lane, candidate->relation)});
  }
  return result;
}

}  // namespace

std::vector<LaneResult> Recommender::recommend(const RecommendationRequest& request) {
  std::vector<LaneResult> results;
  results.reserve(kLanes.size());
  const Track& current = request.current;
  if (!current.hasBPM()) {
    for (const Lane lane : kLanes) results.push_back(emptyLane(lane, SuggestionWording::noBPM()));
    return results;
  }

  const std::vector<Candidate> candidates = candidatesOf(request);
  PerLane<std::vector<Entry>> lists = laneLists(candidates, request);
  PerLane<std::size_t> eligibleCount{};
  for (const Lane lane : kLanes) eligibleCount[lane] = lists[lane].size();

  // A negative count would be nonsense; it shows nothing rather than failing.
  const std::size_t limit = static_cast<std::size_t>(std::max(request.optionsPerLane, 0));
  keepHeads(lists, limit);

  TakenSongs taken;
  const PerLane<const Candidate*> leads = chooseLeads(lists, fillOrder(eligibleCount), taken);

  for (const Lane lane : kLanes) {
    if (const Candidate* lead = leads[lane]) {
      results.push_back(laneOptions(lane, lead, lists[lane], limit, taken, current));
    } else {
      results.push_back(eligibleCount[lane] == 0 ? fallback(lane, current, candidates, taken)
                                                 : emptyLane(lane, SuggestionWording::onlyMatchElsewhere()));
    }
  }
  return results;
}

}  // namespace kesta
