// The three texgen commands. Each returns the process exit code and prints its own errors, which
// name the file (and for sources the line) and what is wrong.
#pragma once

#include <cstdint>
#include <string>

struct PictureSize {
  std::int32_t width = 256;
  std::int32_t height = 256;
};

// Parses "WxH"; false when the text is not two positive decimal numbers joined by 'x'.
bool ParsePictureSize(const std::string& text, PictureSize& size);

int RunCommand(const std::string& program, const std::string& png, PictureSize size);
int ExportCommand(const std::string& program);
int CompileCommand(const std::string& source, const std::string& program);
