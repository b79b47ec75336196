#pragma once

#include "platform/controls.h"

#include <QString>
#include <cstdint>

namespace match {

// Sizes a label to its caption in its font, as a label that sizes itself
// does: one line of text, no wrapping.
void AutoSize(platform::Label& label);

// Sets the caption of a self-sizing label and sizes it to the new text.
void SetAutoCaption(platform::Label& label, const QString& caption);

// The number a tag holds: its leading number, 0 without one, kept within
// 32 bits.
int32_t TagNumber(const QString& tag);
// A list row held in a tag: 0 for none or for a number no row can have.
int16_t TagRow(const QString& tag);

} // namespace match
