#include "DesktopPicture.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "Platform/AppKit/FontConfiguration.h"
#include "Simulator/TitleBarButtons.h"

namespace kelvo_sim {

namespace {

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
using Context = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;

void setColour(cairo_t* cr, DesktopPicture::Colour c, double alpha = 1) {
    cairo_set_source_rgba(cr, c.red, c.green, c.blue, alpha);
}

DesktopPicture::Colour mix(DesktopPicture::Colour a, DesktopPicture::Colour b, double t) {
    return {a.red + (b.red - a.red) * t, a.green + (b.green - a.green) * t,
            a.blue + (b.blue - a.blue) * t};
}

constexpr DesktopPicture::Colour white{1, 1, 1};
constexpr DesktopPicture::Colour black{0, 0, 0};
constexpr DesktopPicture::Colour menuBarColour{0.94, 0.94, 0.95};
/// The menu bar's text is black at this alpha.
constexpr double menuBarTextAlpha = 0.85;

void rectangle(cairo_t* cr, const CGRect& r) {
    cairo_rectangle(cr, r.minX(), r.minY(), r.width(), r.height());
}

/// A rectangle whose corners are quarter circles of the radius (a plain one for 0).
void roundedRectangle(cairo_t* cr, const CGRect& r, double radius) {
    if (radius <= 0) {
        rectangle(cr, r);
        return;
    }
    cairo_new_sub_path(cr);
    cairo_arc(cr, r.maxX() - radius, r.minY() + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, r.maxX() - radius, r.maxY() - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, r.minX() + radius, r.maxY() - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, r.minX() + radius, r.minY() + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

/// Spreads an alpha mask out as a blur of about `radius` does: three box blurs each way.
void blurAlpha(cairo_surface_t* mask, int radius) {
    if (radius <= 0) return;
    cairo_surface_flush(mask);
    unsigned char* data = cairo_image_surface_get_data(mask);
    const int width = cairo_image_surface_get_width(mask);
    const int height = cairo_image_surface_get_height(mask);
    const int stride = cairo_image_surface_get_stride(mask);
    const int box = std::max(1, radius / 2);
    std::vector<unsigned char> line(static_cast<std::size_t>(std::max(width, height)));
    const auto pass = [&](int count, int length, auto at) {
        for (int i = 0; i < count; ++i) {
            for (int j = 0; j < length; ++j)
                line[j] = at(i, j);
            int sum = 0;
            for (int j = -box; j <= box; ++j)
                sum += j >= 0 && j < length ? line[j] : 0;
            for (int j = 0; j < length; ++j) {
                at(i, j) = static_cast<unsigned char>(sum / (2 * box + 1));
                const int leaving = j - box, coming = j + box + 1;
                sum -= leaving >= 0 ? line[leaving] : 0;
                sum += coming < length ? line[coming] : 0;
            }
        }
    };
    for (int round = 0; round < 3; ++round) {
        pass(height, width, [&](int y, int x) -> unsigned char& { return data[y * stride + x]; });
        pass(width, height, [&](int x, int y) -> unsigned char& { return data[y * stride + x]; });
    }
    cairo_surface_mark_dirty(mask);
}

/// A soft shadow under the shape `shape` fills in the frame's coordinates (its origin at the
/// frame's top left), as the platform drops it below a window.
void softShadow(cairo_t* cr, const CGRect& frame, const std::function<void(cairo_t*)>& shape,
                double alpha) {
    constexpr int blur = 24;
    constexpr double drop = 10;
    const int margin = 2 * blur;
    const int width = static_cast<int>(std::ceil(frame.width())) + 2 * margin;
    const int height = static_cast<int>(std::ceil(frame.height())) + 2 * margin;
    if (width > 3 * 8192 || height > 3 * 8192) return;
    Surface mask(cairo_image_surface_create(CAIRO_FORMAT_A8, width, height), cairo_surface_destroy);
    {
        Context drawing(cairo_create(mask.get()), cairo_destroy);
        cairo_translate(drawing.get(), margin, margin);
        shape(drawing.get());
    }
    blurAlpha(mask.get(), blur);
    cairo_save(cr);
    cairo_set_source_rgba(cr, 0, 0, 0, alpha);
    cairo_mask_surface(cr, mask.get(), frame.minX() - margin, frame.minY() - margin + drop);
    cairo_restore(cr);
}

/// The three buttons of a title bar: red, yellow and green in the key window, grey in the
/// others, and faint where the window's style leaves one out.
void titleBarButtons(cairo_t* cr, const std::vector<sim::TitleBarButton>& buttons, bool key) {
    static constexpr DesktopPicture::Colour colours[] = {
        {1.0, 0.373, 0.341}, {0.996, 0.737, 0.180}, {0.157, 0.784, 0.251}};
    constexpr DesktopPicture::Colour grey{0.55, 0.55, 0.56};
    for (const sim::TitleBarButton& button : buttons) {
        const CGRect& f = button.frame;
        const bool lit = key && button.enabled;
        const DesktopPicture::Colour colour = lit ? colours[static_cast<int>(button.kind)] : grey;
        cairo_new_sub_path(cr);
        cairo_arc(cr, f.midX(), f.midY(), f.width() / 2, 0, 2 * M_PI);
        setColour(cr, colour, button.enabled ? 1 : 0.4);
        cairo_fill_preserve(cr);
        setColour(cr, black, lit ? 0.18 : 0.12);
        cairo_set_line_width(cr, 0.5);
        cairo_stroke(cr);
    }
}

CGRect bounds(const std::vector<sim::DisplayInfo>& displays) {
    if (displays.empty()) return CGRect(0, 0, 800, 600);
    double minX = displays[0].frame.minX(), minY = displays[0].frame.minY();
    double maxX = displays[0].frame.maxX(), maxY = displays[0].frame.maxY();
    for (const auto& d : displays) {
        minX = std::min(minX, d.frame.minX());
        minY = std::min(minY, d.frame.minY());
        maxX = std::max(maxX, d.frame.maxX());
        maxY = std::max(maxY, d.frame.maxY());
    }
    return CGRect(minX, minY, maxX - minX, maxY - minY);
}

std::string frameText(const CGRect& frame) {
    auto n = [](double v) {
        char buffer[32];
        std::snprintf(buffer, sizeof(buffer), "%g", v);
        return std::string(buffer);
    };
    return n(frame.minX()) + ", " + n(frame.minY()) + "   " + n(frame.width()) + " × " +
           n(frame.height());
}

}  // namespace

DesktopPicture::Colour DesktopPicture::tint(const sim::ApplicationInfo& application) {
    // FNV-1a over the bundle identifier (or the name), so a tint never depends on pids.
    const std::string key = application.bundleID.value_or(application.name);
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : key) {
        hash ^= c;
        hash *= 16777619u;
    }
    const double hue = tintHues[hash % tintHues.size()] / 60.0;
    const double saturation = 0.55, value = 0.72;
    const double chroma = value * saturation;
    const double x = chroma * (1 - std::fabs(std::fmod(hue, 2.0) - 1));
    const double m = value - chroma;
    Colour c;
    switch (static_cast<int>(hue)) {
        case 0:
            c = {chroma, x, 0};
            break;
        case 1:
            c = {x, chroma, 0};
            break;
        case 2:
            c = {0, chroma, x};
            break;
        case 3:
            c = {0, x, chroma};
            break;
        case 4:
            c = {x, 0, chroma};
            break;
        default:
            c = {chroma, 0, x};
            break;
    }
    return {c.red + m, c.green + m, c.blue + m};
}

void DesktopPicture::text(cairo_t* cr, const std::string& text, const char* font, CGRect box,
                          bool centred) {
    if (box.width() <= 0 || box.height() <= 0) return;
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoFontDescription* description = pango_font_description_from_string(font);
    pango_layout_set_font_description(layout, description);
    pango_font_description_free(description);
    pango_layout_set_text(layout, text.c_str(), -1);
    pango_layout_set_width(layout, static_cast<int>(box.width() * PANGO_SCALE));
    pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
    pango_layout_set_alignment(layout, centred ? PANGO_ALIGN_CENTER : PANGO_ALIGN_LEFT);
    int width = 0, height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    cairo_move_to(cr, box.minX(), box.minY() + (box.height() - height) / 2);
    pango_cairo_show_layout(cr, layout);
    g_object_unref(layout);
}

void DesktopPicture::drawDisplay(cairo_t* cr, const sim::DisplayInfo& display, bool menuBarDisplay,
                                 const std::string& frontName) {
    const CGRect& f = display.frame;
    cairo_pattern_t* wallpaper = cairo_pattern_create_linear(0, f.minY(), 0, f.maxY());
    cairo_pattern_add_color_stop_rgb(wallpaper, 0, 0.23, 0.38, 0.45);
    cairo_pattern_add_color_stop_rgb(wallpaper, 1, 0.09, 0.13, 0.16);
    rectangle(cr, f);
    cairo_set_source(cr, wallpaper);
    cairo_fill(cr);
    cairo_pattern_destroy(wallpaper);

    const CGRect& v = display.visibleFrame;
    const CGRect menuBar(f.minX(), f.minY(), f.width(), std::max(0.0, v.minY() - f.minY()));
    rectangle(cr, menuBar);
    setColour(cr, menuBarColour, 0.92);
    cairo_fill(cr);
    setColour(cr, black, menuBarTextAlpha);
    const double inset = 12;
    if (menuBarDisplay && !frontName.empty()) {
        text(cr, frontName, "Sans Bold 10",
             CGRect(f.minX() + inset, f.minY(), f.width() / 2, menuBar.height()), false);
    }
    text(cr, "Display " + std::to_string(display.id), "Sans 9",
         CGRect(f.maxX() - 120, f.minY(), 120 - inset, menuBar.height()), false);
    if (v.maxY() < f.maxY()) {
        rectangle(cr, CGRect(f.minX(), v.maxY(), f.width(), f.maxY() - v.maxY()));
        setColour(cr, white, 0.25);
        cairo_fill(cr);
    }
}

void DesktopPicture::drawWindow(cairo_t* cr, const sim::WindowInfo& window,
                                const sim::ApplicationInfo& owner, bool key) {
    const CGRect f = window.frame.standardized();
    const Colour tinted = tint(owner);
    const auto style = sim::TitleBarButtons::of(window);
    const double radius = cornerRadiusFor(f, style.has_value());
    cairo_save(cr);
    cairo_push_group(cr);
    softShadow(
        cr, f,
        [&](cairo_t* shape) {
            roundedRectangle(shape, CGRect(0, 0, f.width(), f.height()), radius);
            cairo_fill(shape);
        },
        shadowAlpha);
    roundedRectangle(cr, f, radius);
    cairo_clip(cr);
    // A dark body in the application's tint, so that the focus border's warm colour stands out
    // along its edges.
    rectangle(cr, f);
    setColour(cr, mix(tinted, black, 0.8));
    cairo_fill(cr);
    const double bar = std::min(titleBarHeight, f.height());
    const CGRect title(f.minX(), f.minY(), f.width(), bar);
    rectangle(cr, title);
    setColour(cr, tinted);
    cairo_fill(cr);
    roundedRectangle(cr, f.insetBy(0.5, 0.5), std::max(0.0, radius - 0.5));
    setColour(cr, mix(tinted, black, 0.45));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);

    const std::string number = "#" + std::to_string(window.number);
    const double numberWidth = 56;
    // The name starts past the buttons when there are buttons.
    const double nameInset = style ? titleInset : 8;
    if (style) titleBarButtons(cr, sim::TitleBarButtons::of(f, *style), key);
    setColour(cr, white);
    const std::string name = window.title.empty() ? owner.name : owner.name + " — " + window.title;
    text(cr, name, "Sans Bold 9",
         CGRect(f.minX() + nameInset, f.minY(), f.width() - nameInset - 8 - numberWidth, bar),
         false);
    setColour(cr, white, 0.8);
    text(cr, number, "Sans 8", CGRect(f.maxX() - numberWidth - 6, f.minY(), numberWidth, bar),
         false);
    setColour(cr, white, 0.6);
    text(cr, frameText(window.frame), "Sans 9",
         CGRect(f.minX(), f.minY() + bar, f.width(), f.height() - bar), true);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, std::clamp(window.alpha, 0.0, 1.0));
    cairo_restore(cr);
}

void DesktopPicture::drawPanel(cairo_t* cr, const sim::WindowInfo& window,
                               const sim::OwnWindowSpec& look) {
    // A client's own window draws only its content layer: its background, then a border inside
    // its frame, both inside the rounded corners, at the layer's opacity and the window's alpha.
    const CGRect f = window.frame.standardized();
    const double radius = std::clamp(look.cornerRadius, 0.0, std::min(f.width(), f.height()) / 2);
    cairo_save(cr);
    cairo_push_group(cr);
    roundedRectangle(cr, f, radius);
    cairo_set_source_rgba(cr, look.background.red, look.background.green, look.background.blue,
                          look.background.alpha);
    cairo_fill(cr);
    const double width = std::min(look.borderWidth, std::min(f.width(), f.height()) / 2);
    if (width > 0) {
        roundedRectangle(cr, f.insetBy(width / 2, width / 2), std::max(0.0, radius - width / 2));
        cairo_set_source_rgba(cr, look.borderColour.red, look.borderColour.green,
                              look.borderColour.blue, look.borderColour.alpha);
        cairo_set_line_width(cr, width);
        cairo_stroke(cr);
    }
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr,
                           std::clamp(window.alpha, 0.0, 1.0) * std::clamp(look.opacity, 0.0, 1.0));
    cairo_restore(cr);
}

bool DesktopPicture::drawPicture(cairo_t* cr, const sim::WindowPicture& picture,
                                 const CGRect& frame, double alpha,
                                 const sim::OwnWindowSpec* look) {
    auto pixels = picture.unpack();
    if (!pixels || picture.isEmpty()) return false;
    const int width = static_cast<int>(picture.width);
    const int height = static_cast<int>(picture.height);
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, width);
    if (stride != width * 4) return false;
    Surface image(
        cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels->data()),
                                            CAIRO_FORMAT_ARGB32, width, height, stride),
        cairo_surface_destroy);
    const CGRect f = frame.standardized();
    const auto style = look ? sim::TitleBarButtons::of(*look) : std::nullopt;
    const double radius = cornerRadiusFor(f, style.has_value());
    // What the window shows, in its own points from its top left: its pixels fitted to the
    // frame (a window drawn at another scale than the frame's points), inside its corners.
    const auto content = [&](cairo_t* target) {
        cairo_save(target);
        roundedRectangle(target, CGRect(0, 0, f.width(), f.height()), radius);
        cairo_clip(target);
        cairo_scale(target, f.width() / width, f.height() / height);
        cairo_set_source_surface(target, image.get(), 0, 0);
        cairo_paint(target);
        cairo_restore(target);
    };
    cairo_save(cr);
    cairo_push_group(cr);
    if (look && look->hasShadow) softShadow(cr, f, content, shadowAlpha);
    cairo_translate(cr, f.minX(), f.minY());
    content(cr);
    cairo_translate(cr, -f.minX(), -f.minY());
    if (style) titleBarButtons(cr, sim::TitleBarButtons::of(f, *style), look->key);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, std::clamp(alpha, 0.0, 1.0));
    cairo_restore(cr);
    return true;
}

double DesktopPicture::cornerRadiusFor(const CGRect& frame, bool titled) {
    return titled ? std::min(windowCornerRadius, std::min(frame.width(), frame.height()) / 2) : 0;
}

void DesktopPicture::drawStatusItem(cairo_t* cr, const sim::StatusItemInfo& item) {
    const sim::WindowPicture& image = item.spec.image;
    auto pixels = image.unpack();
    if (!pixels || image.isEmpty()) return;
    const int width = static_cast<int>(image.width);
    const int height = static_cast<int>(image.height);
    Surface surface(
        cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels->data()),
                                            CAIRO_FORMAT_ARGB32, width, height, width * 4),
        cairo_surface_destroy);
    // The button centres its image in the item's frame, at the image's own size.
    const CGRect f = item.frame;
    const double x = std::round(f.midX() - width / 2.0);
    const double y = std::round(f.midY() - height / 2.0);
    cairo_save(cr);
    rectangle(cr, f);
    cairo_clip(cr);
    // The item covers what the bar says beneath it.
    setColour(cr, menuBarColour);
    cairo_paint(cr);
    if (item.spec.imageIsTemplate) {
        // Only the alpha counts: the bar's text colour shows through it.
        setColour(cr, black, menuBarTextAlpha);
        cairo_mask_surface(cr, surface.get(), x, y);
    } else {
        cairo_set_source_surface(cr, surface.get(), x, y);
        cairo_paint(cr);
    }
    cairo_restore(cr);
}

void DesktopPicture::drawPointer(cairo_t* cr, CGPoint at, double scale) {
    static constexpr double arrow[][2] = {{0, 0},     {0, 17},   {4.5, 13},   {7.5, 19.5},
                                          {10, 18.5}, {7, 12.5}, {12.5, 12.5}};
    cairo_save(cr);
    cairo_translate(cr, at.x, at.y);
    cairo_scale(cr, 1 / scale, 1 / scale);
    cairo_move_to(cr, arrow[0][0], arrow[0][1]);
    for (const auto& point : arrow)
        cairo_line_to(cr, point[0], point[1]);
    cairo_close_path(cr);
    setColour(cr, white);
    cairo_fill_preserve(cr);
    setColour(cr, black);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void DesktopPicture::drawCaption(cairo_t* cr, const std::string& caption, CGRect strip) {
    rectangle(cr, strip);
    setColour(cr, Colour{0.08, 0.08, 0.09});
    cairo_fill(cr);
    setColour(cr, white, 0.92);
    const double inset = 16;
    text(cr, caption, "Sans 14", strip.insetBy(inset, 0), false);
}

void DesktopPicture::draw(const Scene& scene, const std::string& path) {
    // The fonts every program that draws uses, so that the picture is the same everywhere.
    FontConfiguration::install();
    const CGRect area = bounds(scene.displays);
    const double scale =
        std::min({1.0, maximumWidth / area.width(), maximumHeight / area.height()});
    const int width = std::max(1, static_cast<int>(std::ceil(area.width() * scale)));
    const int desktopHeight = std::max(1, static_cast<int>(std::ceil(area.height() * scale)));
    const int height =
        desktopHeight + (scene.caption.empty() ? 0 : static_cast<int>(captionHeight));
    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height),
                    cairo_surface_destroy);
    Context context(cairo_create(surface.get()), cairo_destroy);
    cairo_t* cr = context.get();
    cairo_set_source_rgb(cr, 0.13, 0.13, 0.14);
    cairo_paint(cr);
    if (!scene.caption.empty()) {
        drawCaption(cr, scene.caption, CGRect(0, desktopHeight, width, captionHeight));
    }
    cairo_scale(cr, scale, scale);
    cairo_translate(cr, -area.minX(), -area.minY());

    std::map<sim::Pid, sim::ApplicationInfo> owners;
    std::string frontName;
    for (const auto& application : scene.applications) {
        owners[application.pid] = application;
        if (application.active && !application.terminated) frontName = application.name;
    }
    for (std::size_t i = 0; i < scene.displays.size(); ++i)
        drawDisplay(cr, scene.displays[i], i == 0, frontName);
    for (const sim::StatusItemInfo& item : scene.statusItems)
        drawStatusItem(cr, item);
    // An application's key window is the front one of the application in front, unless a
    // window of the system's own has the keys.
    std::optional<sim::WindowNumber> keyWindow;
    bool ownKey = false;
    for (const auto& [number, look] : scene.panels)
        ownKey = ownKey || look.key;
    for (const sim::WindowInfo& window : scene.windows) {
        const auto found = owners.find(window.owner);
        if (ownKey || !window.onScreen || scene.panels.contains(window.number)) continue;
        if (found != owners.end() && found->second.active) {
            keyWindow = window.number;
            break;
        }
    }
    for (auto it = scene.windows.rbegin(); it != scene.windows.rend(); ++it) {
        if (!it->onScreen) continue;
        const auto found = owners.find(it->owner);
        sim::ApplicationInfo owner = found != owners.end() ? found->second : sim::ApplicationInfo{};
        if (owner.name.empty()) owner.name = "pid " + std::to_string(it->owner);
        const auto panel = scene.panels.find(it->number);
        const auto picture = scene.pictures.find(it->number);
        if (picture != scene.pictures.end()) {
            if (drawPicture(cr, picture->second, it->frame, it->alpha,
                            panel != scene.panels.end() ? &panel->second : nullptr))
                continue;
        }
        if (panel != scene.panels.end()) {
            drawPanel(cr, *it, panel->second);
        } else {
            drawWindow(cr, *it, owner, keyWindow == it->number);
        }
    }
    drawPointer(cr, scene.pointer, scale);

    cairo_surface_flush(surface.get());
    const cairo_status_t status = cairo_surface_write_to_png(surface.get(), path.c_str());
    if (status != CAIRO_STATUS_SUCCESS) {
        throw Failure("cannot write " + path + ": " + cairo_status_to_string(status));
    }
}

}  // namespace kelvo_sim
