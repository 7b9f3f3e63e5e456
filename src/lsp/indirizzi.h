// The editor names texts by file URI; the program by path.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace percorso::lsp {

// The path of a file: URI ("file:///a/b%20c.txt" is "/a/b c.txt"); nothing for another scheme.
std::optional<std::string> percorso_di_uri(std::string_view uri);

// The file: URI of an absolute path, with every byte outside the unreserved ones escaped.
std::string uri_di_percorso(std::string_view percorso);

}  // namespace percorso::lsp
