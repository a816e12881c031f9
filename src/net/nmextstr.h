#pragma once
// NMExtstr: the request lines of an HTTP transaction, header lines of the form
// name ": " value.
#include <string>
#include <string_view>
#include <vector>

class TExStringList {
public:
    // First line whose text before its first ':' equals Name ignoring case; -1 if none.
    int IndexOfHeader(std::string_view Name) const;
    // A non-empty Value replaces the line found or appends one; an empty one deletes it.
    void SetHeader(const std::string& Name, const std::string& Value);
    void Add(std::string Line) { Strings.push_back(std::move(Line)); }
    void Clear() { Strings.clear(); }

    std::vector<std::string> Strings;
};
