#pragma once

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "Base/CoreGraphics/CGImage.h"

namespace kelvo_pictures {

/// One picture for people to look at: its file name (without ".png") and how it is drawn.
struct Picture {
    std::string name;
    std::function<CGImageRef()> draw;
};

/// The folder of a picture's configuration and log, which nothing writes into, so that every
/// picture starts from the defaults. Pages show its path, so it is the same on every machine
/// rather than under the caller's TMPDIR.
std::filesystem::path unwrittenFolder(const std::string& name);

// The pictures of each part of the system, one function each; a new picture is a function
// that draws it and a line in its part's list.
std::vector<Picture> symbolPictures();
std::vector<Picture> textPictures();
std::vector<Picture> layerPictures();
std::vector<Picture> controlPictures();
std::vector<Picture> brandPictures();
std::vector<Picture> menuBarPictures();
std::vector<Picture> overlayPictures();
std::vector<Picture> launcherPictures();
std::vector<Picture> settingsWindowPictures();
std::vector<Picture> settingsPagePictures();
std::vector<Picture> guidePictures();

/// Every picture, and writing them.
class PictureBook {
  public:
    static std::vector<Picture> all();

    /// Draws the pictures named (all of them when none is named) into `folder` as PNG files and
    /// says so on `out`, one line a file; false (and a line on `errors`) for a name that is no
    /// picture or a picture that could not be drawn or written.
    static bool write(const std::filesystem::path& folder, const std::vector<std::string>& names,
                      std::ostream& out, std::ostream& errors);
};

}  // namespace kelvo_pictures
