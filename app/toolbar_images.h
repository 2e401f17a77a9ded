#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>

// The seven 16 x 16 pictures of the toolbar's image list, drawn by the
// program itself: 0 add, 1 delete row, 2 clear list, 3 open list,
// 4 preview off, 5 preview on, 6 OK.
QList<QIcon> makeToolbarImages();

// The 111 x 50 logo at the top right of the window.
QPixmap makeLogo();

// The program's icon in the usual sizes, as the desktop entry shows it.
QIcon makeProgramIcon();
