// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One user change of the document, as the user sees it: a value typed into
// a cell, a setting picked, a whole paste. The code that writes the change
// into the image holds a TDocumentChange while it does so; the window keeps
// the document as it was before and after, and offers the change for undo
// under its name. Changes nest: only the outermost one counts, so a paste
// that stores field after field is one step.
//
// The name is a function, asked each time the name is shown: a step made
// before a change of language reads in the language shown now.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/ImageLayout.h"

class TDocumentChange {
public:
    // `mergeable`: a change that directly follows one of the same name
    // joins it (the characters typed into one text).
    explicit TDocumentChange(std::function<std::string()> name, bool mergeable = false);
    ~TDocumentChange();
    TDocumentChange(const TDocumentChange&) = delete;
    TDocumentChange& operator=(const TDocumentChange&) = delete;
};

// What a change can touch: the image, and the channel the tree marks (the
// channel operations carry it along with its channel).
struct TDocumentSnapshot {
    std::array<uint8_t, kImageSize> Image{};
    int32_t CurrentChannel = 0;
};

TDocumentSnapshot TakeSnapshot();
void RestoreSnapshot(const TDocumentSnapshot& snapshot);
