#pragma once
// The glue of one finished render job: every pixel of the job's piece from its first cell
// buffer onto the destination.
#include "layers/cell_buffer.h"
#include "layers/glue_destination.h"
#include "layers/glue_write_back.h"
#include "sdk/types.h"

namespace corvanthe {

// Asks the destination for the piece (image coordinates, bottom and right exclusive), then
// glues its rows top to bottom, each left to right. A pixel the buffer does not cover is
// glued from a zero record. False when the destination refused the piece.
bool glue_task(const CellBuffer& cells, const sdk::VRect& piece, const GlueSetup& setup,
               GlueDestination& destination);

}  // namespace corvanthe
