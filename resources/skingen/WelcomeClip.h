#pragma once

#include <QImage>

#include <vector>

// The welcome clip shown in the panel area while no panel is: the board's emblem with
// signals running into it and a sheen passing over it, looping without a seam.
namespace WelcomeClip
{

inline constexpr int WIDTH = 387;
inline constexpr int HEIGHT = 296;
inline constexpr int FRAMES = 27;
inline constexpr int FRAME_MS = 100;
inline constexpr int INFO_STRIP_HEIGHT = 20; // kept calm: the info line can sit over it

/// Frame number `index` (0 to FRAMES - 1) of the loop, at scale device pixels per layout pixel.
QImage Frame(int index, int scale);

/// All frames in order, at scale.
std::vector<QImage> Frames(int scale);

} // namespace WelcomeClip
