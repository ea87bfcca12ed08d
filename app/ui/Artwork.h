// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's pictures: tool-button icons, tree-node icons, the
// application icon and the background picture. They are painted with
// vectors at every size asked for, so they stay sharp on high-DPI screens
// and need no image files or image plug-ins.
#include <QIcon>
#include <QPixmap>

enum class TArtwork {
    New,
    Open,
    Save,
    Print,
    Port,
    Read,
    Write,
    Help,
    Radio,       // the application icon and the tree's root
    Node,        // an editor node of the tree
    ChannelNode, // a channel node of the tree
};

QIcon ArtworkIcon(TArtwork picture);
// Paints one picture into a square pixmap of `size` device pixels.
QPixmap ArtworkPixmap(TArtwork picture, int size);
// The background picture "PIC": 200 by 150 pixels, tiled behind the
// editor windows.
QPixmap BackgroundPicture();
