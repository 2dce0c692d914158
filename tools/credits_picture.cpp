// tools/credits_picture.cpp — credits.BMP, the closing list of credits that scrolls up over black.
//
// The picture is stretched over a 640 × 640 square of the screen, so it is square too.
#include "tools/bmp_writer.h"
#include "tools/text_renderer.h"
#include "tools/texture_sets.h"

namespace assets {
namespace {

struct Line {
    const char* text;
    bool heading;
};

}  // namespace

bool WriteCreditsPicture(const std::string& root) {
    Picture picture(512, 512);
    TextRenderer text;
    TextStyle title;
    title.font = "DejaVu Sans:bold";
    title.pixelSize = 52;
    title.letterSpacing = 6;
    title.colour = {0.95f, 0.97f, 1.0f};
    title.glowRadius = 10;
    title.glowColour = {0.2f, 0.35f, 0.7f};
    TextStyle heading;
    heading.font = "DejaVu Sans:bold";
    heading.pixelSize = 22;
    heading.letterSpacing = 2;
    heading.colour = {0.55f, 0.75f, 1.0f};
    heading.glowRadius = 4;
    heading.glowColour = {0.05f, 0.15f, 0.35f};
    TextStyle name;
    name.font = "Liberation Sans";
    name.pixelSize = 26;
    name.colour = {0.92f, 0.92f, 0.92f};

    TextStyle subtitle = name;
    subtitle.pixelSize = 18;
    subtitle.colour = {0.6f, 0.65f, 0.75f};

    bool ok = text.DrawCentred(picture, "UNDERTOW", 256, 72, title);
    ok = text.DrawCentred(picture, "a real-time demo in four scenes", 256, 102, subtitle) && ok;
    const Line lines[] = {
        {"code", true},     {"the undertow team", false},           {"music", true},
        {"undertow audio", false}, {"graphics and models", true}, {"generated, every pixel", false},
        {"thanks for watching", true},
    };
    float y = 158;
    for (const Line& line : lines) {
        ok = text.DrawCentred(picture, line.text, 256, y, line.heading ? heading : name) && ok;
        y += line.heading ? 32 : 50;
    }
    ok = text.DrawCentred(picture, "~ the end ~", 256, 472, heading) && ok;
    return ok && WriteBMP(root, "TEKSTURY/credits.BMP", picture);
}

}  // namespace assets
