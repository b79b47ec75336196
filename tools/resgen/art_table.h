#pragma once

#include <QString>
#include <vector>

namespace resgen {

// What a picture shows; each role has its own painter.
enum class Role {
    MainButton,     // main button caption, normal or hover
    DialogButton,   // OK / cancel, normal or hover
    ToggleCaption,  // settings switch caption
    Compass,        // compass for a seat index
    ClaimButton,    // claim button: idle, offered or highlighted
    ReportButton,   // report button in three states
    DieFace,        // large die face
    DieTumble,      // tumbling die
    SmallDie,       // small die face
    Avatar,         // portrait
    Tile,           // tile face or back
    Speech,         // speech bubble of a claim for a view
    StreakAnimation,
    StreakBackdrop,
    Button,         // generic caption button in a state
    Tab,            // tab background without caption (the control draws it)
    CaptionTab,     // tab with its caption
    RowBar,         // list row bar
    CloseMark,      // small close button
    Arrow,          // arrow button
    FoldTab,        // panel fold/unfold tab
    Stamp,          // status stamp
    VipPanel,       // membership offer panel
    VipBadge,       // animated membership badge frame
    Goods,          // goods picture on a pure-red mask
    Prize,          // exchange prize card
    CigaretteIcon,
    EmoticonButton,
    PhraseButton,
    Emoticon,       // animated emoticon
    DigitSheet,     // sprite sheet of digits 0-9 in one column
    BannerSheet,    // sprite sheet of three banners
    JadeSheet,      // sprite sheet of 4 x 4 animation frames
    FrameSheet,     // single-frame sheet
    TableBackground,
    WindowSkin,     // the table window's frame, cut into eight pieces by the window
    WindowButton,   // title-bar button: tens digit 0 close, 1 minimise; units digit the state
    WindowIcon,     // the table window's icon
    ResultPanel,    // background of a result window: 0 score sheet, 1 hand history, 2 player card
    Pointer,        // mouse pointer over a hand tile; hot spot at the top left
    DialogPanel,    // background of a small table dialog: 0 settings, 1 false-win notice, 2 rules,
                    // 3 exit dialog, 4 table notice
    OptionCaption,  // a settings option's caption drawn as a picture
    MatchPanel,     // background of a match panel: 0 match list, 1 ranking, 2 status card
    Placeholder,    // no picture described yet
};

enum class Format { Gif, Jpeg, Png };

// Where the size comes from: the program's own design (given), a size chosen
// here because none is given (assumed), or a neutral placeholder.
enum class Basis { Given, Assumed, Placeholder };

// One picture of the store.
struct Art {
    int id = 0;
    Role role = Role::Placeholder;
    int w = 0;
    int h = 0;
    QString caption;
    int frames = 1;  // more than one: an animated GIF
    int param = 0;   // role-specific: state, view, seat index, face, level ...
    Format format = Format::Gif;
    Basis basis = Basis::Given;
    QString note;
};

// The whole store, ordered by id.
std::vector<Art> ArtTable();

} // namespace resgen
