#include "materials.h"
#include "models.h"
#include "palette.h"
#include "text3d.h"

namespace {

// One caption, centred on the origin, lit by nothing: it must read the
// same against the sky, the ground and the haze.
AseScene caption(const std::string& text, double capHeight, Colour front, Colour side,
                 const std::string& subtitle = {}, double subtitleHeight = 0.0)
{
    AseScene scene;
    int letters = scene.addMaterial(paletteUnlit("CaptionLetters"));
    TextStyle style;
    style.capHeight = capHeight;
    style.depth = capHeight * 0.25;
    style.align = Align::Centre;
    style.front = paletteUV(front);
    style.side = paletteUV(side);
    Mesh mesh = textMesh(text, style);
    double lift = subtitle.empty() ? -capHeight * 0.5 : -capHeight * 0.2;
    mesh.transform(Affine::translate({0, lift, 0}));
    scene.addObject("Caption", mesh, letters);
    if (!subtitle.empty()) {
        TextStyle small = style;
        small.font = Font::Sans;
        small.capHeight = subtitleHeight;
        small.depth = subtitleHeight * 0.2;
        small.front = paletteUV(Colour::White);
        small.side = paletteUV(Colour::DarkSteel);
        Mesh sub = textMesh(subtitle, small);
        sub.transform(Affine::translate({0, lift - subtitleHeight * 2.6, 0}));
        scene.addObject("Subtitle", sub, letters);
    }
    return scene;
}

} // namespace

// The countdown stands 100 units ahead of the camera, where the view is
// about 115 units high.
AseScene buildReady() { return caption("Ready", 20.0, Colour::Yellow, Colour::Brown); }

AseScene buildNumber(int n) { return caption(std::to_string(n), 34.0, Colour::Yellow, Colour::Brown); }

// The end captions stand 150 units ahead, where the view is about 170 high.
AseScene buildWinning()
{
    return caption("Mission Complete", 15.0, Colour::Yellow, Colour::Brown, "Press Esc for the menu", 6.0);
}

AseScene buildLoosing()
{
    return caption("Mission Failed", 15.0, Colour::Red, Colour::DarkRed, "Press Esc for the menu", 6.0);
}

// Over the frozen game, where the end captions stand.
AseScene buildPaused()
{
    return caption("Paused", 15.0, Colour::White, Colour::DarkSteel, "Press P or Start to go on", 6.0);
}
