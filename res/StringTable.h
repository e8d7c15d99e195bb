#pragma once
// The program's string resources.

// The text of string resource `id`, or "" when there is none (callers treat an
// empty text as "no such string"). The result lives as long as the program.
const char* LoadString(int id);
