#pragma once

#include <cstdint>

namespace table {

struct TableModel;

// The first step of every draw: lays the discard standing in the middle of
// the table into its discarder's row (eight tiles to a row), or a discarded
// red dragon, green dragon or wild tile into the discarder's special-kong
// row. A single draw (count 1) pauses 0.4 s first. Nothing is laid after a
// kong or when there is no last discard.
void LayLastDiscard(TableModel& m, uint8_t seat, uint8_t count);

// Records a tile laid into the right-hand seat's rows (up to three rows of
// eight) and restacks the rows so that each row's earliest tile ends in
// front and each later row lies before the earlier ones.
void RecordRightRowTile(TableModel& m, int image);

// Moves a seat's next-discard place one tile of w x h on along its rows of
// eight, to the start of the next row after the eighth.
void AdvanceDiscardPlace(TableModel& m, int view, int w, int h);

} // namespace table
