// Content titles for tests and benchmarks of the catalogue order, from a
// generator with a fixed seed, so every run sees the same ones.
#pragma once

#include <string>
#include <vector>

// nCount non-empty titles mixing single-byte text, raw Big5- and GBK-shaped
// byte pairs, valid text of the running ANSI code page (Chinese, and Greek,
// Cyrillic and full-width Latin letters that have a lower case), titles
// made again in another case or repeated, broken double-byte pairs, and
// titles of 48 bytes or more, which fill the header's field with no NUL.
std::vector<std::string> GenerateTitles(int nCount, unsigned nSeed);
