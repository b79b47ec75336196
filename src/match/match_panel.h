#pragma once

#include <QString>
#include <cstdint>

class Client;

namespace platform {
class PictureBox;
}

namespace match {

// What the match panels keep between events besides their control tags.
struct MatchPanelState {
    // The pointer at the press that started a drag, in pixels of the panel.
    float PanelDragX = 0;
    float PanelDragY = 0;
    // Busy markers: the tick at which an opening of the match or ranking
    // panel started; 0 while none runs.
    uint32_t MatchPanelOpening = 0;
    uint32_t SortPanelOpening = 0;
    // The name of the match type of the last instance resolved.
    QString CurrentMatchName;
};

// Lays out the match controls of the table window (the entry buttons, the
// match panel, the ranking panel and the news line) and empties them. The
// first call creates the further rows, detail lines and card lines; every
// call puts the entry buttons back in place and resets every match control.
void BuildMatchPanel(Client& c);

// Connects the match controls' mouse and key events to their handlers;
// WireMatchRows connects the rows, also those the layout loaded since.
void WireMatchPanel(Client& c);
void WireMatchRows(Client& c);

// Shows the ranking page that starts at `firstRow` of the ranked instance,
// with its page arrows and page text when there is more than one page.
void ShowRankingPage(Client& c, int16_t firstRow);

// The handlers of the match controls. `index` is the element of the array.
void ImgShowMatch_MouseDown(Client& c);
void ImgShowSort_MouseDown(Client& c);
void ImgOpenMatchBtn_MouseUp(Client& c);
void ImgCloseList_Click(Client& c, int16_t index);
void Pic_matchDetail_KeyDown(Client& c, int16_t keyCode);
void Pic_sortDetail_KeyDown(Client& c, int16_t keyCode);
void Pic_matchDetail_MouseDown(Client& c, int16_t button, float x, float y);
void Pic_matchDetail_MouseMove(Client& c, int16_t button, float x, float y);
void Pic_matchDetail_MouseUp(Client& c, int16_t button, float x, float y);
void Pic_sortDetail_MouseDown(Client& c, int16_t button, float x, float y);
void Pic_sortDetail_MouseMove(Client& c, int16_t button, float x, float y);
void Pic_sortDetail_MouseUp(Client& c, int16_t button, float x, float y);
void ImgUppage_Click(Client& c, int16_t index);
void ImgDownpage_Click(Client& c, int16_t index);
void LblMathStart_Click(Client& c, int16_t index);
void ImgSign_Click(Client& c);
void ImgRefresh_Click(Client& c);
void ImgCloseList_MouseMove(Client& c, int16_t index);
void ImgUppage_MouseMove(Client& c, int16_t index);
void ImgDownpage_MouseMove(Client& c, int16_t index);
void ImgRefresh_MouseMove(Client& c);
void ImgSign_MouseMove(Client& c);
void ImgOpenMatchBtn_MouseMove(Client& c);
void ImgMatch_MouseMove(Client& c, int16_t index);

} // namespace match
