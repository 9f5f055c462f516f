// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Texts the reader pasted or dropped, kept as files so that each keeps its place and
// bookmarks in a companion file like any other text. A text is named by its content:
// the same text given again is the same file, read on from where the reader was.
namespace ClipboardTexts {

// $XDG_STATE_HOME/skimmet/clipboard, or ~/.local/state/skimmet/clipboard; empty when
// neither the variable nor a home folder is known.
std::string DefaultFolder();

// Keeps text (UTF-8) in folder, made private to the user when missing: the file's path,
// or nullopt with why in error. An existing file of the same name and content is kept
// as it is; another text is never written over.
std::optional<std::string> Keep(std::string_view text, const std::string& folder,
                                std::string& error);

// Whether path names a text kept in folder.
bool IsKept(std::string_view path, std::string_view folder);

} // namespace ClipboardTexts
