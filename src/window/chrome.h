#pragma once

#include <QString>
#include <cstdint>

class Client;

namespace window {

// The pictures of the window's own frame and title bar.
constexpr int kSkinPicture = 1001;      // 46 x 220, cut into eight pieces
constexpr int kClosePictures = 1002;    // normal, hover, pressed
constexpr int kMinimisePictures = 1005; // normal, hover, pressed
constexpr int kIconPicture = 1008;

// Pictures of a title-bar button: the control array's elements 1-3.
enum ChromePicture : int { ChromeNormalPicture = 1, ChromeHoverPicture = 2, ChromePressedPicture = 3 };

// The close and minimise buttons; only element 0 reacts.
void Imgclose_MouseDown(Client& c, int16_t index);
void Imgclose_MouseMove(Client& c, int16_t index);
void Imgclose_MouseUp(Client& c, int16_t index);
void Imgclose_Click(Client& c, int16_t index);
void ImgMin_MouseDown(Client& c, int16_t index);
void ImgMin_MouseMove(Client& c, int16_t index);
void ImgMin_MouseUp(Client& c, int16_t index);
void ImgMin_Click(Client& c, int16_t index);

// The title strip by which the window is dragged, and the window itself.
void LbMove_MouseDown(Client& c, int16_t button);
void LbMove_MouseMove(Client& c);
void Form_MouseMove(Client& c);

// The window was minimised or shown again.
void Form_Resize(Client& c);

// True when the first name a directory search for path finds (path may end
// in a pattern with * and ?) is exactly fileName; false otherwise and on any
// failure.
bool Is_File_Exist(const QString& path, const QString& fileName);

} // namespace window
