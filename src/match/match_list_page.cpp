#include "match/match_list_page.h"

#include "app/client.h"
#include "match/match.h"
#include "window/main_form.h"

namespace match {

bool InitCurMatchShow(Client& c, int16_t& page)
{
    (void)c;
    (void)page;
    return false;
}

void ShowMatchDetail(Client& c, int16_t row)
{
    (void)c;
    (void)row;
}

bool CompleteMatchPanel(Client& c)
{
    (void)c;
    return false;
}

} // namespace match
