// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Paints a printout onto a printer: the print preview, a real printer and a
// PDF file get the same pages.
#include <QByteArray>

#include "image/formats/PrintContent.h"

class QPrinter;

// Paints every page of `content` onto `printer` (not yet begun).
void PaintPrint(QPrinter& printer, const PrintContent& content);

// The pages as the bytes of a PDF file, made in memory so that they reach
// the disk through the one file writer; empty when nothing could be painted.
// Needs a QGuiApplication (the offscreen platform will do).
QByteArray PdfBytes(const PrintContent& content);
