#pragma once

namespace kesta::model {

class DiagnosticsRecord;
class EngineUpdates;
class LaneRanking;
class LibraryKeeper;
class LiveMirror;
class ModelSettings;
class Notices;
class Notifier;
class OneClickLoad;
class SetRecord;
class Watching;

// The app model's parts, as they reach one another. The model builds them
// together and they live and die together; each part names at the head of
// its header the others it uses. Main thread only.
struct ModelParts {
  Notifier& notifier;
  ModelSettings& settings;
  Notices& notices;
  DiagnosticsRecord& diagnostics;
  SetRecord& sets;
  LibraryKeeper& library;
  LiveMirror& live;
  Watching& watching;
  EngineUpdates& updates;
  LaneRanking& lanes;
  OneClickLoad& oneClick;
};

}  // namespace kesta::model
