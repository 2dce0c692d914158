// capture/screenshot.h — F12: the picture being shown, at the internal resolution, as a PNG file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The first of undertow-0000.png .. undertow-9999.png that does not exist in `folder`, with
// the folder in front; empty when all of them do.
std::string NextScreenshotName(const std::string& folder);

// The finished picture at the internal resolution, RGB, bottom row first (call just before the
// swap).
std::vector<std::uint8_t> ReadPicture();

// Reads the finished picture (call just before the swap) and writes it to `path`. False with a
// reason in `error` when it cannot be written.
bool WriteScreenshot(const std::string& path, std::string& error);

// Asks for a screenshot of the next picture shown: it is written in the current folder and its
// path printed on stdout. Installs its own swap hook on first use.
void RequestScreenshot();

// Drops a request not yet served and removes the hook.
void StopScreenshots();
