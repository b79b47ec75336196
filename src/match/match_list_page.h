#pragma once

#include <cstdint>

class Client;

namespace match {

// Fills one page (five rows) of the match list. Resolves the instances'
// match types first when instance 1 has none yet. A page below 1 shows page
// 1, a page past the last shows the last; `page` gets the page shown. False,
// with the page cleared, when there are no instances, an instance's match
// type is unknown or the list is empty. Tags written: Pic_matchDetail the
// page, LblshowPage(0) the page count, LblMathStart(i) the list row of row i.
bool InitCurMatchShow(Client& c, int16_t& page);

// Fills the detail area for list row `row` (1 to MatchListCount) and notes
// it in LblShowName's Tag; anything else (row 0, a row past the list, a row
// of a finished match, an unknown type) leaves the area cleared and the Tag
// "".
void ShowMatchDetail(Client& c, int16_t row);

// Once both the document and the instance states are there: rebuilds the
// list rows, shows page 1 and the detail of its first row, and shows the
// entry buttons (the ranking one for a running match the player joined).
// False, clearing the match-ready flags, when page 1 cannot be built.
bool CompleteMatchPanel(Client& c);

} // namespace match
