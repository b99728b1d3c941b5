#pragma once

#include <QString>

// The list control's comparisons of two cell texts, -1, 0 or 1. Directions: 0 ascending,
// 1 descending; the unsorted state compares insertion indexes instead.

// Every character but the last is a digit, '.' or '-' (so "12a" and "" qualify).
bool IsNumericLooking(const QString& text);
// "nn/nn/nnnn".
bool IsDateLooking(const QString& text);

int CompareCellTexts(const QString& a, const QString& b, int direction);
int CompareInsertIndexes(int a, int b);
