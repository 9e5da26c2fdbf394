// Every step of a save made to fail in turn, in a plain save and in one that
// merges another writer's version: STORE_E_IO, the file on disk byte-identical, no
// record left in its history, no temporary file left, the values still in memory,
// and a retry that succeeds.
// Also a save that runs out of space for real (RLIMIT_FSIZE).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "ChildProcess.h"
#include "FaultyFileSystem.h"
#include "StoreTestSupport.h"

namespace {

// Twenty values of 200 characters: with writes capped at 1 KiB, several writes.
void SetValues(const std::wstring& path, const std::wstring& tag) {
  for (int i = 0; i < 20; ++i) {
    const std::wstring key = L"/Values/V" + std::to_wstring(i);
    ASSERT_EQ(StoreSetValue(path.c_str(), key.c_str(), (tag + std::wstring(200, L'x')).c_str()),
              STORE_OK);
  }
}

bool OnlyTheFileAndItsLock(const std::string& directory) {
  for (const std::string& entry : DirectoryEntries(directory)) {
    if (entry != "s.xml" && entry != "s.xml.lock" && entry != "s.xml.history") return false;
  }
  return true;
}

struct Outcome {
  bool fired;
  int result;
};

// Opens a fresh file, changes it (after another writer's save when merging) and
// saves with the nth call of op failing; checks what the failure left.
Outcome SaveWithFault(const TempDir& dir, bool merging, FileOp op, int nth) {
  const std::string name = dir.File("s.xml");
  const std::wstring path = dir.WideFile("s.xml");
  WriteTextFile(name, SettingsXml("<Values><V0>old</V0></Values><Keep>k</Keep>"));
  OpenedFile file(path);
  SetValues(path, L"new");
  if (merging) {
    ReplaceOnDisk(name,
                  SettingsXml("<Values><V0>old</V0></Values><Keep>k</Keep><Theirs>t</Theirs>"));
  }
  const std::string before = ReadTextFile(name);
  const std::string history = ReadTextFile(name + ".history");
  FaultyFileSystem faulty;
  faulty.CapWrites(1024);
  faulty.FailAt(op, nth, op == FileOp::kWrite ? ENOSPC : EIO);
  Outcome outcome;
  {
    keytreestore::ScopedFileSystem use(faulty);
    outcome.result = file.Save();
  }
  outcome.fired = faulty.fired();
  const std::string what =
      std::string(FileOpName(op)) + " #" + std::to_string(nth) + (merging ? " (merging)" : "");
  if (outcome.result != STORE_OK) {
    EXPECT_EQ(ReadTextFile(name), before) << what;
    EXPECT_EQ(ReadTextFile(name + ".history"), history) << what;
    EXPECT_TRUE(OnlyTheFileAndItsLock(dir.path())) << what;
    EXPECT_EQ(file.Read(L"/Values/V19").text, L"new" + std::wstring(200, L'x')) << what;
    EXPECT_EQ(file.Save(), STORE_OK) << "retry after " << what;
  }
  EXPECT_EQ(ReadFromDisk(path, L"/Values/V7").text, L"new" + std::wstring(200, L'x')) << what;
  EXPECT_EQ(ReadFromDisk(path, L"/Keep").text, L"k") << what;
  if (merging) {
    EXPECT_EQ(ReadFromDisk(path, L"/Theirs").text, L"t") << what;
  }
  EXPECT_TRUE(OnlyTheFileAndItsLock(dir.path())) << what;
  return outcome;
}

TEST(FaultInjection, EveryFailingStepOfASaveLeavesTheOldFile) {
  // Steps whose failure a save survives: closing what was only read or locked, and
  // the backup link that only serves to undo a rename.
  const FileOp harmless[] = {FileOp::kCloseOther, FileOp::kLink};
  TempDir dir;
  int failures = 0;
  for (int k = 0; k <= static_cast<int>(FileOp::kCloseOther); ++k) {
    const FileOp op = static_cast<FileOp>(k);
    const bool mustFail =
        std::find(std::begin(harmless), std::end(harmless), op) == std::end(harmless);
    int fired = 0;
    for (bool merging : {false, true}) {
      for (int nth = 1;; ++nth) {
        const Outcome outcome = SaveWithFault(dir, merging, op, nth);
        if (!outcome.fired) {
          EXPECT_EQ(outcome.result, STORE_OK);
          break;
        }
        ++fired;
        EXPECT_EQ(outcome.result, mustFail ? STORE_E_IO : STORE_OK)
            << FileOpName(op) << " #" << nth << (merging ? " (merging)" : "");
      }
    }
    EXPECT_GT(fired, 0) << FileOpName(op) << " is never made by a save";
    if (mustFail) failures += fired;
  }
  std::printf("%d failing steps of a save, each leaving the old file\n", failures);
}

TEST(FaultInjection, RunningOutOfSpaceLeavesTheOldFile) {
  TempDir dir;
  const std::string name = dir.File("s.xml");
  WriteTextFile(name, SettingsXml("<Values><V0>old</V0></Values>"));
  const std::string before = ReadTextFile(name);
  ChildProcess child([&] {
    signal(SIGXFSZ, SIG_IGN);
    OpenedFile file(dir.WideFile("s.xml"));
    SetValues(file.path(), L"big");
    rlimit limit{before.size() + 100, RLIM_INFINITY};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 10;
    if (file.Save() != STORE_E_IO) return 11;
    if (ReadTextFile(name) != before) return 12;
    if (!OnlyTheFileAndItsLock(dir.path())) return 13;
    limit.rlim_cur = RLIM_INFINITY;
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 14;
    return file.Save() == STORE_OK ? 0 : 15;
  });
  ASSERT_TRUE(child.started());
  EXPECT_EQ(child.Wait(), 0);
  EXPECT_EQ(ReadFromDisk(dir.WideFile("s.xml"), L"/Values/V3").text,
            L"big" + std::wstring(200, L'x'));
}

// A file replaced by a directory is neither written into nor removed.
TEST(FaultInjection, TargetReplacedByADirectoryIsLeftAlone) {
  TempDir dir;
  const std::string name = dir.File("s.xml");
  WriteTextFile(name, SettingsXml("<A>old</A>"));
  OpenedFile file(dir.WideFile("s.xml"));
  ASSERT_EQ(file.Set(L"/A", L"new"), STORE_OK);
  ASSERT_EQ(std::remove(name.c_str()), 0);
  ASSERT_EQ(mkdir(name.c_str(), 0755), 0);
  EXPECT_NE(file.Save(), STORE_OK);
  struct stat info;
  ASSERT_EQ(stat(name.c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_TRUE(OnlyTheFileAndItsLock(dir.path()));
  EXPECT_EQ(file.Read(L"/A").text, L"new");
}

}  // namespace
