#include "materials.h"
#include "models.h"
#include "palette.h"
#include "shapes.h"
#include "text3d.h"

#include <stdexcept>

namespace {

TextStyle style(double capHeight, Colour front, Colour side, Align align = Align::Left,
                Font font = Font::SansBold)
{
    TextStyle s;
    s.font = font;
    s.capHeight = capHeight;
    // Body text is seen at an angle off the screen's centre, where solid
    // letters would show their sides: it is flat.
    s.depth = font == Font::Sans ? 0.0 : capHeight * 0.25;
    s.align = align;
    s.front = paletteUV(front);
    s.side = paletteUV(side);
    return s;
}

Mesh placed(Mesh m, V3 at)
{
    m.transform(Affine::translate(at));
    return m;
}

} // namespace

// The loading screen is drawn 45 units away moved 5 to the left, so the
// screen's centre is model x = 5 and the view spans x -29.6..39.6 and
// y -26..26. The bar's node frame has its z axis along +x and its pivot at
// the bar's left end: the game stretches it along that axis by the loading
// progress, which ends at 2.1, where the bar meets the frame's right side.
namespace loading {
constexpr double Left = -20.0, Right = 30.0, Low = -2.0, High = 2.0;
constexpr double FullScale = 2.1;
} // namespace loading

AseScene buildLoading()
{
    using namespace loading;
    AseScene scene;
    int lit = scene.addMaterial(paletteLit("LoadingFrame", 1.0));
    int flat = scene.addMaterial(paletteUnlit("LoadingLetters"));

    Mesh bar =
        box({Left, Low, -0.3}, {Left + (Right - Left) / FullScale, High, 0.3}, paletteUV(Colour::Orange));
    Affine barFrame = Affine::frame({0, 0, -1}, {0, 1, 0}, {1, 0, 0}, {Left, 0, 0});
    scene.addObject("Bar", bar, flat, barFrame);

    Mesh border = frame(Left - 1.2, Low - 1.2, Right + 1.2, High + 1.2, 1.0, 1.2, paletteUV(Colour::Steel));
    border.append(panel(Left - 0.2, Low - 0.2, Right + 0.2, High + 0.2, paletteUV(Colour::Charcoal)),
                  Affine::translate({0, 0, -0.7}));
    scene.addObject("BarFrame", border, lit);

    Mesh words = placed(textMesh("Loading", style(6.0, Colour::White, Colour::DarkSteel, Align::Centre)),
                        {5.0, 6.5, 0});
    TextStyle tip = style(1.6, Colour::Cream, Colour::Brown, Align::Centre, Font::Sans);
    words.append(textMesh("Ctrl fires rockets at bases, Space the gun at helicopters", tip),
                 Affine::translate({5.0, -9.0, 0}));
    words.append(textMesh("Reach the end of the valley before the fuel runs out", tip),
                 Affine::translate({5.0, -12.5, 0}));
    scene.addObject("LoadingWords", words, flat);
    return scene;
}

// The page is drawn 47 units away at 0.9 scale: model x -40..39 and
// y -30..30 fill the view.
AseScene buildInstructions()
{
    AseScene scene;
    int flat = scene.addMaterial(paletteUnlit("PageLetters"));
    int lit = scene.addMaterial(paletteLit("PagePlate", 1.0));

    Mesh title = placed(textMesh("How to fly", style(4.2, Colour::Orange, Colour::DarkRed, Align::Centre)),
                        {0, 22.5, 0.5});
    scene.addObject("Title", title, flat);

    struct Row {
        const char* keys;
        const char* action;
    };
    const Row rows[] = {
        {"Left, Right", "slide the helicopter across the view"},
        {"A, D", "turn the nose to aim left or right"},
        {"Up", "nose down and fly faster"},
        {"Down", "nose up, to aim higher"},
        {"Ctrl", "fire a rocket at a ground base"},
        {"Space", "hold to fire the gun at helicopters"},
        {"Esc", "leave the game for the menu"},
    };
    TextStyle keyStyle = style(1.9, Colour::Yellow, Colour::Brown, Align::Right);
    TextStyle actionStyle = style(1.9, Colour::White, Colour::DarkSteel, Align::Left, Font::Sans);
    Mesh keys, actions;
    double y = 15.0;
    for (const Row& r : rows) {
        keys.append(textMesh(r.keys, keyStyle), Affine::translate({-13.0, y, 0.5}));
        actions.append(textMesh(r.action, actionStyle), Affine::translate({-10.5, y, 0.5}));
        y -= 3.6;
    }
    scene.addObject("Keys", keys, flat);
    scene.addObject("Actions", actions, flat);

    TextStyle goal = style(1.7, Colour::Cream, Colour::Brown, Align::Centre, Font::Sans);
    Mesh goalText =
        textBlock({"Rockets destroy the bases in the valley, bullets bring down the",
                   "helicopters that rise to meet you. Reach the end of the course",
                   "before the fuel runs out. You have three lives.", "Press Esc to return to the menu."},
                  goal, 1.75);
    goalText.transform(Affine::translate({0, -14.5, 0.5}));
    scene.addObject("Goal", goalText, flat);

    // A dark plate behind the page keeps it readable over any background.
    Mesh plate = bevelledSlab(80.0, 60.0, 1.0, 0.8, paletteUV(Colour::Navy), paletteUV(Colour::Steel));
    plate.transform(Affine::translate({-0.5, 0, -0.5}));
    scene.addObject("Plate", plate, lit);
    return scene;
}

// The four credits files form one roll, drawn 40 units away and moved up
// by an offset s from -130 to 130: the model line y = -s is at the
// screen's centre, so the roll reads from y = 130 down to y = -130, where
// the last block comes to rest. Each file holds a quarter of the roll.
AseScene buildCredits(int part)
{
    if (part < 0 || part > 3)
        throw std::out_of_range("credits part");
    AseScene scene;
    int flat = scene.addMaterial(paletteUnlit("CreditLetters"));
    TextStyle heading = style(2.6, Colour::Orange, Colour::DarkRed, Align::Centre);
    TextStyle line = style(2.0, Colour::White, Colour::DarkSteel, Align::Centre, Font::Sans);

    struct Block {
        double y;
        const char* heading;
        std::vector<std::string> lines;
    };
    const std::vector<Block> roll[4] = {
        {{124, "KESTRAVA", {"a helicopter rail shooter"}},
         {100, "Game design", {"The Kestrava team"}},
         {80, "Programming", {"The Kestrava team", "C++, OpenGL, SDL2"}}},
        {{52, "Models, textures and course", {"generated from code", "by the Kestrava asset generator"}},
         {24, "Lettering", {"DejaVu Sans glyph outlines", "read with FreeType", "and tessellated with GLU"}}},
        {{-10, "Built with", {"SDL2 and SDL2_image", "Mesa OpenGL and GLU", "FreeType and zlib"}},
         {-42, "Tested with", {"GoogleTest", "OSMesa software rendering"}}},
        {{-78, "Special thanks", {"to everyone who plays it"}},
         {-92, "Fly safe", {"and watch your fuel"}},
         {-127, "Thanks for playing", {}}},
    };
    Mesh text;
    for (const Block& b : roll[part]) {
        text.append(textMesh(b.heading, heading), Affine::translate({0, b.y, 0}));
        for (size_t i = 0; i < b.lines.size(); ++i)
            text.append(textMesh(b.lines[i], line), Affine::translate({0, b.y - 4.5 - 3.4 * double(i), 0}));
    }
    scene.addObject("Credits" + std::to_string(part), text, flat);
    return scene;
}
