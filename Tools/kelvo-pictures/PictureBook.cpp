#include "PictureBook.h"

#include <algorithm>
#include <system_error>

#include "Platform/AppKit/FontConfiguration.h"

namespace kelvo_pictures {

std::filesystem::path unwrittenFolder(const std::string& name) {
    return std::filesystem::path("/tmp") / ("kelvo-pictures-" + name);
}

std::vector<Picture> PictureBook::all() {
    std::vector<Picture> pictures;
    for (auto part : {symbolPictures, textPictures, layerPictures, controlPictures, brandPictures,
                      menuBarPictures, overlayPictures, launcherPictures, settingsWindowPictures,
                      settingsPagePictures, guidePictures}) {
        auto more = part();
        pictures.insert(pictures.end(), more.begin(), more.end());
    }
    return pictures;
}

bool PictureBook::write(const std::filesystem::path& folder, const std::vector<std::string>& names,
                        std::ostream& out, std::ostream& errors) {
    FontConfiguration::install();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        errors << "kelvo-pictures: cannot make " << folder.string() << ": " << error.message()
               << "\n";
        return false;
    }
    const std::vector<Picture> pictures = all();
    bool fine = true;
    for (const std::string& name : names) {
        const bool known = std::any_of(pictures.begin(), pictures.end(),
                                       [&](const Picture& p) { return p.name == name; });
        if (!known) {
            errors << "kelvo-pictures: no picture is called " << name << "\n";
            fine = false;
        }
    }
    for (const Picture& picture : pictures) {
        if (!names.empty() && std::find(names.begin(), names.end(), picture.name) == names.end())
            continue;
        const std::filesystem::path file = folder / (picture.name + ".png");
        const CGImageRef image = picture.draw();
        if (!image || !image->writePNG(file.string())) {
            errors << "kelvo-pictures: cannot draw " << file.string() << "\n";
            fine = false;
            continue;
        }
        out << file.string() << "\n";
    }
    return fine;
}

}  // namespace kelvo_pictures
