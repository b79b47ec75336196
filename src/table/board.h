#pragma once

#include "platform/controls.h"

#include <QSize>

namespace table {

// The graphic controls the table draws: tiles, dice, the compass, claim
// buttons and choices, speech pictures, the countdown and the stake and
// banker marks. Plain windowless controls, made without a surface; the
// window that shows the table puts them on its surface and paints them.
// Positions are pixels of the 1024 x 768 table times the layout scale.
class TableBoard {
public:
    TableBoard() = default;
    virtual ~TableBoard() = default;
    TableBoard(const TableBoard&) = delete;
    TableBoard& operator=(const TableBoard&) = delete;

    // The size in pixels of the table picture the controls lie on.
    virtual QSize TableSize() const { return {1024, 768}; }

    // Tiles and dice.
    platform::ControlArray<platform::Image> MJ_Image{nullptr, QStringLiteral("MJ_Image"), 136};
    platform::ControlArray<platform::Image> SZ_Image{nullptr, QStringLiteral("SZ_Image"), 16}; // die faces 1-6 and ten tumbling frames
    platform::ControlArray<platform::Image> Sai_Image{nullptr, QStringLiteral("Sai_Image"), 2};
    platform::Image ZhiNan{QStringLiteral("ZhiNan")};
    platform::Image Host{QStringLiteral("Host")};
    platform::Label Zhuang{QStringLiteral("Zhuang")};
    platform::Image Quoxa{QStringLiteral("Quoxa")};
    platform::Image quoxaImg{QStringLiteral("quoxaImg")};
    platform::Image ZQ_Image{QStringLiteral("ZQ_Image")};
    platform::ControlArray<platform::Image> imgPiZi{nullptr, QStringLiteral("imgPiZi"), 2};

    // Turn controls.
    platform::Image Time_Img{QStringLiteral("Time_Img")};
    platform::Label Number{QStringLiteral("Number")};
    platform::ControlArray<platform::Image> Operation{nullptr, QStringLiteral("Operation"), 5}; // 0 chow, 1 pong, 2 kong, 3 win, 4 pass
    platform::ControlArray<platform::Image> Chi{nullptr, QStringLiteral("Chi"), 6};
    platform::ControlArray<platform::Image> Gang{nullptr, QStringLiteral("Gang"), 5};
    platform::ControlArray<platform::Image> Speak{nullptr, QStringLiteral("Speak"), 3};

    // Stakes.
    platform::Label lblDifen{QStringLiteral("lblDifen")};
    platform::ControlArray<platform::Image> imgsezi{nullptr, QStringLiteral("imgsezi"), 2};
    platform::Image imgBeishu{QStringLiteral("imgBeishu")};
    platform::ControlArray<platform::Label> lbfont{nullptr, QStringLiteral("lbfont"), 3};
    platform::Image Imgwealth{QStringLiteral("Imgwealth")};
    platform::Label lbwealth{QStringLiteral("lbwealth")};

    // Buttons the table reset shows or hides, and the prop plug-in's
    // pictures, which the deal keeps in front of the wall.
    platform::Image cmdImpeach{QStringLiteral("cmdImpeach")};
    platform::Image Bank{QStringLiteral("Bank")};
    platform::ControlArray<platform::Image> ImgProp{nullptr, QStringLiteral("ImgProp"), 1};
};

} // namespace table
