// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Paints a printout onto a printer: the print preview, a real printer and a
// PDF file get the same pages.
#include <string>

#include "image/formats/PrintContent.h"

class QPrinter;

// Paints every page of `content` onto `printer` (not yet begun).
void PaintPrint(QPrinter& printer, const PrintContent& content);

// Writes the pages as a PDF file; false when the file cannot be written.
// Needs a QGuiApplication (the offscreen platform will do).
bool PrintToPdf(const std::string& path, const PrintContent& content);
