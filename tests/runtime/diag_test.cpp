// The debug log and the fatal error report, checked on the files and exit code of a real process.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/subprocess.h"

namespace {

const std::map<std::string, std::string> kHeadless = {{"SDL_VIDEODRIVER", "offscreen"}};

ProcessResult Probe(const TempFolder& folder, std::vector<std::string> actions) {
  actions.insert(actions.begin(), DIAG_PROBE);
  return RunProcess(actions, folder.path(), kHeadless);
}

const char* kReport =
    "Sorry, but the following module had something to say:\r\n\r\nzenTimeline\r\nTimeline is too big for buffer!\r\n";

}  // namespace

TEST(DebugLog, LinesAppendWithinARunAndANewRunStartsAfresh) {
  TempFolder folder;
  ASSERT_EQ(Probe(folder, {"log", "first", "1", "log", "second", "2"}).exitCode, 0);
  EXPECT_EQ(ReadWholeFile(folder.File("debug.txt")), "first | 1\r\nsecond | 2\r\n");

  ASSERT_EQ(Probe(folder, {"log", "again", "3", "log", "more", "4", "log", "third", "5"}).exitCode, 0);
  EXPECT_EQ(ReadWholeFile(folder.File("debug.txt")), "again | 3\r\nmore | 4\r\nthird | 5\r\n");
}

TEST(DebugLog, NumbersAndTrailingBlanksAreWrittenAsGiven) {
  TempFolder folder;
  ASSERT_EQ(Probe(folder, {"log", "Width: ", "256", "log", "minus", "-5", "log", "", "0"}).exitCode, 0);
  EXPECT_EQ(ReadWholeFile(folder.File("debug.txt")), "Width:  | 256\r\nminus | -5\r\n | 0\r\n");
}

TEST(DebugLog, LongTextIsCutTo255UnlessGivenAsCString) {
  TempFolder folder;
  const std::string text(300, 'x');
  ASSERT_EQ(Probe(folder, {"log", text, "7", "logc", text, "8"}).exitCode, 0);
  EXPECT_EQ(ReadWholeFile(folder.File("debug.txt")),
            std::string(255, 'x') + " | 7\r\n" + text + " | 8\r\n");
}

TEST(DebugLog, NothingIsTouchedBeforeTheFirstLine) {
  TempFolder folder;
  WriteWholeFile(folder.File("debug.txt"), "earlier run\r\n");
  ASSERT_EQ(Probe(folder, {}).exitCode, 0);
  EXPECT_EQ(ReadWholeFile(folder.File("debug.txt")), "earlier run\r\n");
}

TEST(DebugLog, AnUnwritableLogIsTheRuntimeIoError) {
  TempFolder folder;
  ASSERT_TRUE(std::filesystem::create_directory(folder.File("debug.txt")));
  const ProcessResult run = Probe(folder, {"log", "x", "1"});
  EXPECT_EQ(run.exitCode, 5);
  EXPECT_NE(run.err.find("debug.txt"), std::string::npos) << run.err;
  EXPECT_EQ(run.out.find("END"), std::string::npos);
}

TEST(FatalError, BeforeAnyWindowWritesTheReportAndExitsWithFailure) {
  TempFolder folder;
  WriteWholeFile(folder.File("error.txt"), "an old report that is much longer than the new one, to see truncation");
  const ProcessResult run = Probe(folder, {"fatal", "zenTimeline", "Timeline is too big for buffer!", "log", "after", "0"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(ReadWholeFile(folder.File("error.txt")), kReport);
  EXPECT_EQ(run.err,
            "Sorry, but the following module had something to say:\n\nzenTimeline\nTimeline is too big for buffer!\n");
  EXPECT_FALSE(FileExists(folder.File("debug.txt"))) << "nothing after the report may run";
}

TEST(FatalError, WithAWindowAndDuringFramesReleasesItAndReports) {
  TempFolder folder;
  const ProcessResult run =
      Probe(folder, {"window", "frames", "3", "fatal", "zenTimeline", "Timeline is too big for buffer!"});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_EQ(ReadWholeFile(folder.File("error.txt")), kReport);
  // The window's own trace is complete and the report wrote nothing more to it.
  EXPECT_EQ(ReadWholeFile(folder.File("debug.txt")),
            "zenCreateWindow | 0\r\nWindowRegister | 0\r\nWindowCreate | 0\r\nWindowInit | 0\r\n"
            "Initialisation done. | 0\r\n");
}

TEST(FatalError, ARunWithoutFailureLeavesAnOldReportAlone) {
  TempFolder folder;
  WriteWholeFile(folder.File("error.txt"), "old");
  ASSERT_EQ(Probe(folder, {"log", "fine", "0"}).exitCode, 0);
  EXPECT_EQ(ReadWholeFile(folder.File("error.txt")), "old");
}

TEST(IoError, NamesTheFileAndExitsWithTheRuntimeCode) {
  TempFolder folder;
  ProcessResult missing = Probe(folder, {"ioerror", "data/flower1.hwl"});
  EXPECT_EQ(missing.exitCode, 3) << "the folder is missing";
  EXPECT_EQ(missing.err, "I/O error 3 (path not found): data/flower1.hwl\n");

  std::filesystem::create_directory(folder.File("data"));
  missing = Probe(folder, {"ioerror", "data/flower1.hwl"});
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_EQ(missing.err, "I/O error 2 (file not found): data/flower1.hwl\n");

  WriteWholeFile(folder.File("data/empty.hwl"), "");
  const ProcessResult shortFile = Probe(folder, {"ioerror", "data/empty.hwl"});
  EXPECT_EQ(shortFile.exitCode, 100);
  EXPECT_EQ(shortFile.err, "I/O error 100 (read past the end of the file): data/empty.hwl\n");

  const ProcessResult folderAsFile = Probe(folder, {"ioerror", "data"});
  EXPECT_EQ(folderAsFile.exitCode, 5);
}
