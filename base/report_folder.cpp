#include "base/diagnostics.h"

#include <utility>

namespace {

std::string reportFolder;  // empty: the working directory

}  // namespace

void SetReportFolder(std::string folder) { reportFolder = std::move(folder); }

std::string ReportFilePath(const char* name) { return reportFolder.empty() ? name : reportFolder + "/" + name; }
