// SPDX-License-Identifier: GPL-3.0-or-later
// Small C-string helpers shared by the effect and the editor. Each works within a 255-byte area.
#pragma once

// Decimal text of value, cut to maxLength characters (0 counts as 1, above 255 as 255).
void itoa(int value, char* out, int maxLength);
// C-locale upper-casing in place.
void upperCase(char* text);
// Keeps only 0-9, '+', '-' and '.', in order.
void stripAllButNum(char* text);
