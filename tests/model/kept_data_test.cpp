#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "library/library_import_error.h"
#include "library/rekordbox_xml_importer.h"
#include "model/file_date.h"
#include "model_fixture.h"
#include "store/library_file.h"
#include "support/fakes/fake_store_files.h"
#include "support/test_paths.h"

namespace kesta::test {
using namespace kesta::model;
namespace {

namespace fs = std::filesystem;

// A model whose data folder lives on a disk that fails as the test asks, and
// which never looks for the earlier version's data.
class KeptDataTest : public ModelFixture {
 protected:
  KeptDataTest() {
    setenv("KESTA_LEGACY_DOMAINS", "none", 1);
    useStore();
  }
  ~KeptDataTest() override { unsetenv("KESTA_LEGACY_DOMAINS"); }

  void useStore(std::uint64_t maximumLibraryBytes = LibraryFile::maximumBytes) {
    store = std::make_shared<AppStore>(dataDir(), files, maximumLibraryBytes);
  }

  // Runs background jobs, the store's writer and main-thread work until nothing is left.
  void settle() {
    do {
      if (executor->pending() > 0) executor->runNext();
      store->flush();
      queue->drain();
    } while (executor->pending() > 0 || queue->pending() > 0);
  }

  // A fixture export picked by the user and imported.
  void pick(const std::string& fixture) {
    panels->answers.push_back(exportFile(fixture));
    model().chooseLibraryFile();
    settle();
  }
  static fs::path exportFile(const std::string& fixture) {
    return kesta::test::sourceDir() / "tests" / "model" / "fixtures" / fixture;
  }

  std::shared_ptr<kesta::test::FakeStoreFiles> files = std::make_shared<kesta::test::FakeStoreFiles>();
};

TEST_F(KeptDataTest, ASaveThatCannotLandShowsOneNoticeUntilSavesWorkAgain) {
  struct Case {
    int error;
    std::string shortText;
  };
  for (const auto& c : {Case{ENOSPC, "Not saving: the disk is full."},
                        Case{EROFS, "Not saving: the data folder is read-only."},
                        Case{EMFILE, "Not saving: Kesta has too many files open."},
                        Case{ENFILE, "Not saving: the system has too many files open."}}) {
    SCOPED_TRACE(c.shortText);
    modelPointer().reset();
    settle();
    useStore();
    files->writeError = c.error;
    model().setCompact(true);
    settle();
    ASSERT_TRUE(model().notice());
    EXPECT_EQ(model().noticeShort(), c.shortText);
    EXPECT_NE(model().notice()->find("your settings"), std::string::npos) << *model().notice();
    const int shown = notified(Field::notice);

    // Still failing: no further notice for the saves that follow.
    model().setCompact(false);
    model().setIncludeRawText(true);
    settle();
    EXPECT_EQ(notified(Field::notice), shown);

    files->writeError = 0;
    model().setCompact(true);
    settle();
    EXPECT_EQ(notified(Field::notice), shown);
    EXPECT_TRUE(store->preferences().includeRawText);
    EXPECT_TRUE(store->preferences().compact);

    files->writeError = c.error;
    model().setCompact(false);
    settle();
    EXPECT_EQ(notified(Field::notice), shown + 1);
    files->writeError = 0;
  }
}

TEST_F(KeptDataTest, ARecordThatCanNeitherBeReadNorSetAsideIsLeftAsItIsAndSaidOnce) {
  const std::string original = R"({"ratings":{"file:/a.mp3":4},"playedPairs":{}})";
  { std::ofstream(dataDir() / "userdata.json") << original; }
  files->makeUnreadable("userdata.json");
  files->refuseMoves = true;
  model();
  settle();
  ASSERT_TRUE(model().notice());
  EXPECT_EQ(model().noticeShort(), "Can't read userdata.json: not saving it.");
  const int shown = notified(Field::notice);

  store->saveUserData(UserData{});
  modelPointer().reset();
  model();
  settle();
  EXPECT_EQ(notified(Field::notice), shown);
  std::ifstream in(dataDir() / "userdata.json");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), original);
}

TEST_F(KeptDataTest, AnExportWhoseLibraryCouldNotBeReadBackIsRefusedAndTheEarlierOneKept) {
  const fs::path xml = exportFile("with_playlists.xml");
  const std::uint64_t size = LibraryFile::encodeText(RekordboxXMLImporter::importLibrary(xml, wall->now()),
                                                     xml.string(), fileModificationDate(xml))
                                 .size();
  for (const bool fits : {false, true}) {
    SCOPED_TRACE(fits ? "at the limit" : "one byte over");
    modelPointer().reset();
    fs::remove(dataDir() / "library.json");
    useStore(fits ? size : size - 1);
    model();
    settle();
    pick("few_tracks.xml");
    ASSERT_EQ(model().library().tracks.size(), 3u);

    pick("with_playlists.xml");
    if (fits) {
      EXPECT_EQ(model().libraryState(), LibraryState::ready());
      EXPECT_EQ(fs::file_size(dataDir() / "library.json"), size);
    } else {
      EXPECT_EQ(
          model().libraryState(),
          LibraryState::failed(
              LibraryImportError::unreadable("the library it holds is too large for Kesta to keep").what()));
      EXPECT_EQ(model().library().tracks.size(), 3u);
    }
    // The next start opens what the last import kept.
    const std::size_t installed = model().library().tracks.size();
    modelPointer().reset();
    model();
    settle();
    EXPECT_EQ(model().library().tracks.size(), installed);
  }
}

}  // namespace
}  // namespace kesta::test
