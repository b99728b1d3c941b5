#pragma once

// Prints what the undo history costs on the "lifetime" portfolio: the heap that 100 steps
// of ten-lot sales hold, and the time of one undo of such a sale.
void PrintUndoFigures();
