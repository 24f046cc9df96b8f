// Texture decoding through SDL2_image: any format it reads comes back as
// 32-bit RGBA with alpha (255 where the file has none), rows from the top.

#include "render/image_decoding.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>

bool platformDecodeImage(const std::string& path, int* width, int* height, std::vector<uint8_t>* rgba)
{
    SDL_Surface* loaded = IMG_Load(path.c_str());
    if (!loaded)
        return false;
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    if (!converted)
        return false;

    // RGBA32 lies in memory as R, G, B, A bytes on any byte order.
    const int w = converted->w;
    const int h = converted->h;
    rgba->resize(static_cast<size_t>(w) * h * 4);
    SDL_LockSurface(converted);
    for (int row = 0; row < h; ++row)
        std::memcpy(rgba->data() + static_cast<size_t>(row) * w * 4,
                    static_cast<const uint8_t*>(converted->pixels) +
                        static_cast<size_t>(row) * converted->pitch,
                    static_cast<size_t>(w) * 4);
    SDL_UnlockSurface(converted);
    SDL_FreeSurface(converted);
    *width = w;
    *height = h;
    return true;
}
