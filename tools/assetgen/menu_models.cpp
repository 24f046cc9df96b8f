#include "materials.h"
#include "models.h"
#include "palette.h"
#include "shapes.h"
#include "text3d.h"

namespace {

struct MenuItem {
    const char* caption;
    const char* node;
    const char* box;
    int keyLetter; // index of the letter whose key chooses the item
};

const MenuItem Items[] = {
    {"Start Game", "StartGame", "BoxStartGame", 0},
    {"Instructions", "Instructions", "BoxInstructions", 0},
    {"Credits", "Credits", "BoxCredits", 0},
    {"Exit", "Exit", "BoxExit", 0},
};

// The menu is drawn 100 units in front of the eye, where the view reaches
// about 77 units to either side and 57 up and down. The helicopter hovers
// in the upper middle down to about y = -6, so the plates stand below it.
constexpr double PlateWidth = 58.0;
constexpr double PlateHeight = 9.0;
constexpr double PlateDepth = 2.0;
constexpr double FirstPlateY = -16.5;
constexpr double PlateStep = 10.3;
// Captions start right of the key cap that repeats the item's key.
constexpr double CaptionX = -PlateWidth * 0.5 + 11.0;

} // namespace

AseScene buildMainMenu()
{
    AseScene scene;
    int plates = scene.addMaterial(paletteLit("MenuPlate", 1.0));
    int letters = scene.addMaterial(paletteUnlit("MenuLetters"));

    TextStyle caption;
    caption.capHeight = 4.4;
    caption.depth = 1.2;
    caption.align = Align::Left;
    caption.front = paletteUV(Colour::White);
    caption.side = paletteUV(Colour::DarkSteel);
    caption.markedFront = paletteUV(Colour::Yellow);

    // The key letter on each item's key cap, in dark letters.
    TextStyle key = caption;
    key.capHeight = 3.4;
    key.depth = 0.5;
    key.front = paletteUV(Colour::Charcoal);
    key.side = paletteUV(Colour::Charcoal);
    key.align = Align::Centre;
    const double keyX = -PlateWidth * 0.5 + 5.0;

    for (int i = 0; i < 4; ++i) {
        const MenuItem& item = Items[i];
        double y = FirstPlateY - PlateStep * i;
        V3 centre{0, y, 0};
        caption.marked = {item.keyLetter};
        // Letters stand proud of the plate's face (at z = 1). The key cap's
        // letter belongs to the caption, so it turns with the item.
        Mesh text = textMesh(item.caption, caption);
        text.transform(Affine::translate({CaptionX, y - caption.capHeight * 0.5, PlateDepth * 0.5 + 0.4}));
        std::string letter(1, item.caption[item.keyLetter]);
        text.append(textMesh(letter, key),
                    Affine::translate({keyX, y - key.capHeight * 0.5, PlateDepth * 0.5 + 0.85}));
        scene.addObject(item.node, text, letters, Affine::translate(centre));

        Mesh plate = bevelledSlab(PlateWidth, PlateHeight, PlateDepth, 0.7, paletteUV(Colour::Navy),
                                  paletteUV(Colour::Steel));
        // A key cap at the plate's left end repeats the item's key.
        plate.append(bevelledSlab(6.0, 6.0, 0.8, 0.4, paletteUV(Colour::Yellow), paletteUV(Colour::Orange)),
                     Affine::translate({keyX, 0, PlateDepth * 0.5 + 0.2}));
        plate.transform(Affine::translate(centre));
        scene.addObject(item.box, plate, plates, Affine::translate(centre));
    }

    TextStyle title;
    title.capHeight = 8.0;
    title.depth = 2.5;
    title.tracking = 0.12;
    title.align = Align::Centre;
    title.front = paletteUV(Colour::Orange);
    title.side = paletteUV(Colour::DarkRed);
    Mesh name = textMesh("KESTRAVA", title);
    // High enough that the hovering helicopter's rotor never reaches it.
    name.transform(Affine::translate({0, 45.0, -4.0}));
    scene.addObject("Title", name, letters);
    return scene;
}
