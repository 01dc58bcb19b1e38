// The debug log and the fatal error report, checked on the files and exit code of a real process. An
// unwritable log: the fault matrix's folder in the place of "debug.txt".
#include <gtest/gtest.h>

#include <string>

#include "tests/support/subprocess.h"

namespace {

ProcessResult Probe(const TempFolder& folder, std::vector<std::string> actions) {
  actions.insert(actions.begin(), DIAG_PROBE);
  return RunProcess(actions, folder.path(), {{"SDL_VIDEODRIVER", "offscreen"}});
}

// Nothing is touched before the first line, and a run without a failure leaves an old report alone.
TEST(DebugLog, LinesAppendAsGivenLongTextIsCutTo255UnlessACStringAndANewRunStartsAfresh) {
  TempFolder folder;
  WriteWholeFile(folder.File("debug.txt"), "earlier run\r\n");
  WriteWholeFile(folder.File("error.txt"), "old");
  ASSERT_EQ(Probe(folder, {}).exitCode, 0);
  EXPECT_EQ(ReadWholeFile(folder.File("debug.txt")), "earlier run\r\n");
  const std::string text(300, 'x');
  ASSERT_EQ(Probe(folder, {"log", "Width: ", "256", "log", "minus", "-5", "log", "", "0", "log", text, "7", "logc",
                           text, "8"}).exitCode, 0);
  EXPECT_EQ(ReadWholeFile(folder.File("debug.txt")),
            "Width:  | 256\r\nminus | -5\r\n | 0\r\n" + std::string(255, 'x') + " | 7\r\n" + text + " | 8\r\n");
  ASSERT_EQ(Probe(folder, {"log", "again", "3", "log", "more", "4"}).exitCode, 0);
  EXPECT_EQ(ReadWholeFile(folder.File("debug.txt")), "again | 3\r\nmore | 4\r\n");
  EXPECT_EQ(ReadWholeFile(folder.File("error.txt")), "old");
}

// Before any window: the fault matrix's dialog that cannot be shown.
TEST(FatalError, WithAWindowAndDuringFramesReleasesItReportsAndEndsTheRun) {
  TempFolder folder;
  WriteWholeFile(folder.File("error.txt"), "an old report that is much longer than the new one, to see truncation");
  const ProcessResult run = Probe(folder, {"window", "frames", "3", "fatal", "zenTimeline",
                                           "Timeline is too big for buffer!", "log", "after", "0"});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_EQ(ReadWholeFile(folder.File("error.txt")),
            "Sorry, but the following module had something to say:\r\n\r\nzenTimeline\r\n"
            "Timeline is too big for buffer!\r\n");
  EXPECT_EQ(run.err,
            "Sorry, but the following module had something to say:\n\nzenTimeline\nTimeline is too big for buffer!\n");
  // The window's own trace is complete, and nothing after the report ran.
  EXPECT_EQ(ReadWholeFile(folder.File("debug.txt")),
            "zenCreateWindow | 0\r\nWindowRegister | 0\r\nWindowCreate | 0\r\nWindowInit | 0\r\n"
            "Initialisation done. | 0\r\n");
}

// A missing file in an existing folder and one cut short: the fault matrix's pictures.
TEST(IoError, NamesTheFileAndExitsWithTheRuntimeCode) {
  TempFolder folder;
  const ProcessResult missingFolder = Probe(folder, {"ioerror", "data/flower1.hwl"});
  EXPECT_EQ(missingFolder.exitCode, 3);
  EXPECT_EQ(missingFolder.err, "I/O error 3 (path not found): data/flower1.hwl\n");
  EXPECT_EQ(Probe(folder, {"ioerror", "."}).exitCode, 5) << "a folder";
}

}  // namespace
