// Handheld paths as the emulator accepts them: absolute, backslash-separated,
// every component a plain name. Anything that could name a place outside the
// served folder (".." and ".", drive letters and streams, device names,
// empty components, forward slashes, names the host would trim) is refused.
#pragma once

#include <string>
#include <vector>

// Splits "\A\B" into {"A", "B"}; "\" gives no components. FALSE when the
// path is not acceptable. With bPattern the last component may hold the
// wildcards * and ?.
bool SplitHandheldPath(const std::wstring& strPath, bool bPattern, std::vector<std::wstring>& parts);
bool IsAcceptableName(const std::wstring& strName, bool bPattern);

// The case-folded form under which the emulator keeps a path's attributes;
// names differing only in case are the same name on the handheld.
std::wstring MakePathKey(const std::vector<std::wstring>& parts);
std::wstring FoldCase(const std::wstring& str);

// Case-insensitive match of a name against a pattern of * and ?.
bool MatchesPattern(const std::wstring& strName, const std::wstring& strPattern);
