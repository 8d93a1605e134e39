#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "store/app_store.h"
#include "store/store_fixtures.h"
#include "support/fakes/fake_store_files.h"

namespace kesta {
namespace {

using test::fileNames;
using test::kRecordFiles;
using test::readFile;
using test::TempFolder;
using test::writeFile;

// What the store told, in order; kept as long as the store may tell.
class Told {
 public:
  explicit Told(const AppStore& store) {
    store.listen([state = state_](const StoreProblem& problem) {
      const std::lock_guard lock(state->mutex);
      state->problems.push_back(problem);
    });
  }
  std::vector<StoreProblem> problems() const {
    const std::lock_guard lock(state_->mutex);
    return state_->problems;
  }

 private:
  struct State {
    std::mutex mutex;
    std::vector<StoreProblem> problems;
  };
  std::shared_ptr<State> state_ = std::make_shared<State>();
};

LegacyData sampleLegacy() {
  return LegacyData{"com.kesta.live.beta", std::nullopt, {{"Spotify:1", 4}}, {}, {}, {}};
}

// What a run does with the records: reads each, then saves each anew (the
// running set is saved, then ended). The same sets every time.
void session(const AppStore& store) {
  static const DJSet running = test::sampleSet(900);
  static const DJSet archived = test::sampleSet(800);
  store.preferences();
  store.userData();
  store.activeSet();
  store.archivedSets();
  store.legacy();
  store.storedLibrary();
  store.savePreferences(Preferences{});
  store.saveUserData(UserData{{{"file:/new.mp3", 1}}, {}});
  store.saveActiveSet(running);
  store.saveArchivedSets({archived});
  store.saveLegacy(sampleLegacy());
  try {
    store.saveLibrary(StoredLibrary{test::sampleLibrary(2), "/music/new.xml", std::nullopt});
  } catch (const std::system_error&) {
  }
  store.saveActiveSet(std::nullopt);
  store.flush();
}

TEST(KeptRecords, ARecordThatCannotBeReadIsNeverReplacedBySaving) {
  // A file the user may not read is set aside when the folder allows it and
  // held otherwise; one that could not be read for want of memory or file
  // handles is likely whole: it stays in place for the next start (the
  // library, a copy of the export, is set aside once a new one is saved).
  struct Case {
    const char* name;
    files::ReadFailure failure;
    bool movesRefused;
    std::optional<StoreProblem::Hold> held;
  };
  const Case cases[] = {
      {"unreadable, moves allowed", files::ReadFailure::unreadable, false, std::nullopt},
      {"unreadable, moves refused", files::ReadFailure::unreadable, true, StoreProblem::Hold::unreadable},
      {"short of resources", files::ReadFailure::noResources, false, StoreProblem::Hold::noResources},
  };
  for (const std::string& file : kRecordFiles) {
    for (const Case& c : cases) {
      SCOPED_TRACE(file + ", " + c.name);
      const TempFolder folder;
      const std::string original = "the DJ's own " + file + " \x01\xff";
      writeFile(folder / file, original);
      auto files = std::make_shared<test::FakeStoreFiles>();
      files->makeUnreadable(file, c.failure);
      files->refuseMoves = c.movesRefused;
      {
        const AppStore store(folder.path(), files);
        const Told told(store);
        session(store);
        session(store);
        std::vector<StoreProblem> expected;
        if (c.held) expected.push_back({StoreProblem::Kind::recordHeld, file, std::error_code(), *c.held});
        EXPECT_EQ(told.problems(), expected);
      }
      std::vector<std::string> aside;
      for (const auto& name : fileNames(folder.path())) {
        if (name.starts_with(file + ".unreadable-")) aside.push_back(name);
      }
      const bool staysWhole =
          c.movesRefused || (c.failure == files::ReadFailure::noResources && file != "library.json");
      if (staysWhole) {
        EXPECT_TRUE(aside.empty());
        EXPECT_EQ(readFile(folder / file), original);
      } else {
        ASSERT_EQ(aside.size(), 1u);
        EXPECT_EQ(readFile(folder / aside[0]), original);
      }
      // The other records were saved all the same.
      const std::string other = file == "userdata.json" ? "preferences.json" : "userdata.json";
      EXPECT_TRUE(std::filesystem::exists(folder / other));
    }
  }
}

TEST(KeptRecords, AHeldRecordLandsOnceWhatStoodInItsPlaceIsSetAsideOrGone) {
  struct Case {
    const char* name;
    std::function<void(const TempFolder&, const std::string&, test::FakeStoreFiles&)> block;
    std::function<void(const TempFolder&, const std::string&, test::FakeStoreFiles&)> unblock;
    StoreProblem::Hold held;
    bool setAside;
  };
  const std::string original = "the DJ's own record";
  const std::vector<Case> cases = {
      {"unreadable in a folder that forbids moves",
       [&](const TempFolder& folder, const std::string& file, test::FakeStoreFiles& files) {
         writeFile(folder / file, original);
         files.makeUnreadable(file);
         files.refuseMoves = true;
       },
       [](const TempFolder&, const std::string&, test::FakeStoreFiles& files) { files.refuseMoves = false; },
       StoreProblem::Hold::unreadable, true},
      {"a folder in its place",
       [](const TempFolder& folder, const std::string& file, test::FakeStoreFiles&) {
         std::filesystem::create_directory(folder / file);
         writeFile(folder / file / "inside", "x");
       },
       [](const TempFolder& folder, const std::string& file, test::FakeStoreFiles&) {
         std::filesystem::remove_all(folder / file);
       },
       StoreProblem::Hold::notAFile, false},
      {"a FIFO in its place",
       [](const TempFolder& folder, const std::string& file, test::FakeStoreFiles&) {
         ASSERT_EQ(::mkfifo((folder / file).c_str(), 0600), 0);
       },
       [](const TempFolder& folder, const std::string& file, test::FakeStoreFiles&) {
         std::filesystem::remove(folder / file);
       },
       StoreProblem::Hold::notAFile, false},
  };
  const TempFolder healthy;
  session(AppStore(healthy.path()));
  for (const std::string& file : kRecordFiles) {
    for (const Case& c : cases) {
      SCOPED_TRACE(file + ", " + c.name);
      const TempFolder folder;
      auto files = std::make_shared<test::FakeStoreFiles>();
      c.block(folder, file, *files);
      const auto blocked = std::filesystem::symlink_status(folder / file).type();
      const AppStore store(folder.path(), files);
      const Told told(store);
      session(store);
      // Nothing put in its place, nothing moved.
      EXPECT_EQ(std::filesystem::symlink_status(folder / file).type(), blocked);
      if (c.setAside) {
        EXPECT_EQ(readFile(folder / file), original);
      }

      // The next save after that brings the session's record with it.
      c.unblock(folder, file, *files);
      if (file == "library.json") {
        store.saveLibrary(StoredLibrary{test::sampleLibrary(2), "/music/new.xml", std::nullopt});
      } else if (file == "preferences.json") {
        store.saveUserData(UserData{{{"file:/new.mp3", 1}}, {}});
      } else {
        store.savePreferences(Preferences{});
      }
      store.flush();
      std::vector<std::string> names;
      std::vector<std::string> aside;
      for (const auto& name : fileNames(folder.path())) {
        (name.starts_with(file + ".unreadable-") ? aside : names).push_back(name);
      }
      ASSERT_EQ(names, fileNames(healthy.path()));
      for (const auto& name : names) EXPECT_EQ(readFile(folder / name), readFile(healthy / name)) << name;
      ASSERT_EQ(aside.size(), c.setAside ? 1u : 0u);
      if (c.setAside) {
        EXPECT_EQ(readFile(folder / aside[0]), original);
      }
      EXPECT_EQ(
          told.problems(),
          (std::vector<StoreProblem>{{StoreProblem::Kind::recordHeld, file, std::error_code(), c.held}}));
    }
  }
}

TEST(KeptRecords, ASaveThatCannotLandIsToldOnceAndLandsWhenWritingWorksAgain) {
  const Preferences preferences{"/music/a.xml", {}, true, false, {}, true, std::nullopt, std::nullopt};
  const UserData userData{{{"file:/a.mp3", 4}}, {{"file:/a.mp3>file:/b.mp3", 2}}};
  const UserData later{{{"file:/a.mp3", 5}}, {}};
  const DJSet archived = test::sampleSet(800);
  const DJSet running = test::sampleSet(950);
  for (const int error : {ENOSPC, EROFS}) {
    SCOPED_TRACE(std::strerror(error));
    const TempFolder folder;
    auto files = std::make_shared<test::FakeStoreFiles>();
    files->writeError = error;
    {
      const AppStore store(folder.path(), files);
      const Told told(store);
      store.savePreferences(preferences);
      store.saveUserData(userData);
      store.saveArchivedSets({archived});
      store.saveActiveSet(test::sampleSet(900));
      store.flush();
      EXPECT_THROW(store.saveLibrary(StoredLibrary{test::sampleLibrary(2), "/a.xml", std::nullopt}),
                   std::system_error);
      store.flush();
      const StoreProblem full{StoreProblem::Kind::saveFailed, "preferences.json",
                              std::error_code(error, std::generic_category())};
      // The library's save is not kept for later: it is told on its own.
      const StoreProblem library{StoreProblem::Kind::saveFailed, "library.json",
                                 std::error_code(error, std::generic_category())};
      EXPECT_EQ(told.problems(), (std::vector<StoreProblem>{full, library}));
      EXPECT_TRUE(fileNames(folder.path()).empty());

      // Writing works again: the next save brings every one kept with it.
      files->writeError = 0;
      store.saveActiveSet(running);
      store.flush();
      const TempFolder healthy;
      {
        const AppStore reference(healthy.path());
        reference.savePreferences(preferences);
        reference.saveUserData(userData);
        reference.saveArchivedSets({archived});
        reference.saveActiveSet(running);
      }
      ASSERT_EQ(fileNames(folder.path()), fileNames(healthy.path()));
      for (const auto& name : fileNames(healthy.path())) {
        EXPECT_EQ(readFile(folder / name), readFile(healthy / name)) << name;
      }

      // Told again only because saves worked in between.
      files->writeError = error;
      store.saveUserData(later);
      store.saveUserData(userData);
      store.saveUserData(later);
      store.flush();
      EXPECT_EQ(told.problems().size(), 3u);
      files->writeError = 0;
    }
    // Quitting tries once more what is still kept.
    EXPECT_EQ(AppStore(folder.path()).userData(), later);
  }
}

TEST(KeptRecords, TheArchiveIsHeldUntilItsFileIsSetAsideOrGoneButNeverMovedForWantOfResources) {
  using Step = std::function<void(const TempFolder&, test::FakeStoreFiles&)>;
  const std::string original = "[]";
  const auto place = [&](files::ReadFailure failure, bool refuseMoves) -> Step {
    return [=](const TempFolder& folder, test::FakeStoreFiles& files) {
      writeFile(folder / "sets.json", original);
      files.makeUnreadable("sets.json", failure);
      files.refuseMoves = refuseMoves;
    };
  };
  const Step nothing = [](const TempFolder&, test::FakeStoreFiles&) {};
  struct Case {
    const char* name;
    Step block;
    bool held;
    Step unblock;
    bool heldAfter;
    std::size_t setAside;
  };
  const std::vector<Case> cases = {
      {"readable",
       [&](const TempFolder& folder, test::FakeStoreFiles&) { writeFile(folder / "sets.json", "[]"); }, false,
       nothing, false, 0},
      {"missing", nothing, false, nothing, false, 0},
      {"short of resources", place(files::ReadFailure::noResources, false), true,
       [](const TempFolder&, test::FakeStoreFiles& files) { files.refuseMoves = false; }, true, 0},
      {"unreadable in a folder that forbids moves", place(files::ReadFailure::unreadable, true), true,
       [](const TempFolder&, test::FakeStoreFiles& files) { files.refuseMoves = false; }, false, 1},
      {"a folder in its place",
       [](const TempFolder& folder, test::FakeStoreFiles&) {
         std::filesystem::create_directory(folder / "sets.json");
       },
       true,
       [](const TempFolder& folder, test::FakeStoreFiles&) { std::filesystem::remove(folder / "sets.json"); },
       false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TempFolder folder;
    auto files = std::make_shared<test::FakeStoreFiles>();
    c.block(folder, *files);
    const AppStore store(folder.path(), files);
    store.archivedSets();
    EXPECT_EQ(store.archiveHeld(), c.held);
    c.unblock(folder, *files);
    EXPECT_EQ(store.archiveHeld(), c.heldAfter);
    std::vector<std::string> aside;
    for (const auto& name : fileNames(folder.path())) {
      if (name.starts_with("sets.json.unreadable-")) aside.push_back(readFile(folder / name));
    }
    EXPECT_EQ(aside, std::vector<std::string>(c.setAside, original));
    if (c.heldAfter) {
      EXPECT_EQ(readFile(folder / "sets.json"), original);
    }
  }
}

TEST(KeptRecords, TheLibraryIsNeverWrittenLargerThanItIsRead) {
  const StoredLibrary library{test::sampleLibrary(3), "/music/a.xml", std::nullopt};
  const std::uint64_t size = LibraryFile::encodeText(library.library, library.xmlPath, std::nullopt).size();
  struct Case {
    std::uint64_t limit;
    bool kept;
  };
  for (const Case c : {Case{size - 1, false}, Case{size, true}}) {
    SCOPED_TRACE(c.limit);
    const TempFolder folder;
    const AppStore store(folder.path(), std::make_shared<StoreFiles>(), c.limit);
    store.saveLibrary(StoredLibrary{test::sampleLibrary(1), "/music/old.xml", std::nullopt});
    const std::string earlier = readFile(folder / "library.json");
    if (c.kept) {
      store.saveLibrary(library);
      const auto stored = store.storedLibrary();
      ASSERT_TRUE(stored);
      EXPECT_EQ(stored->library.tracks.size(), 3u);
      EXPECT_EQ(stored->xmlPath, library.xmlPath);
    } else {
      try {
        store.saveLibrary(library);
        ADD_FAILURE() << "saved a library the next start could not read";
      } catch (const std::system_error& error) {
        EXPECT_EQ(error.code(), std::errc::file_too_large);
      }
      EXPECT_EQ(readFile(folder / "library.json"), earlier);
    }
    EXPECT_EQ(fileNames(folder.path()), std::vector<std::string>{"library.json"});
  }
}

TEST(KeptRecords, OnlyTheNewestSetAsideCopyOfTheLibraryIsKept) {
  struct Case {
    std::string file;
    std::size_t copies;  // after three starts that set it aside
  };
  for (const auto& c : {Case{"library.json", 1}, Case{"userdata.json", 3}, Case{"sets.json", 3}}) {
    SCOPED_TRACE(c.file);
    const TempFolder folder;
    const AppStore store(folder.path());
    for (int start = 1; start <= 3; ++start) {
      writeFile(folder / c.file, "start " + std::to_string(start));
      store.storedLibrary();
      store.userData();
      store.archivedSets();
    }
    std::vector<std::string> copies;
    for (const auto& name : fileNames(folder.path())) {
      if (name.starts_with(c.file + ".unreadable-")) copies.push_back(readFile(folder / name));
    }
    EXPECT_EQ(copies.size(), c.copies);
    EXPECT_NE(std::find(copies.begin(), copies.end(), "start 3"), copies.end());
  }
}

}  // namespace
}  // namespace kesta
