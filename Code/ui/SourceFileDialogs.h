#pragma once

// The platform's file and folder pickers as the program uses them.

#include <QFileDialog>
#include <optional>
#include <string>
#include <vector>

namespace sonvarro {

// The open dialog's name filters in Qt's form, in the order of the filter
// list. Qt reads the patterns from the last parentheses; the description
// keeps its own text.
QStringList SourceFileNameFilters();

// Prepares `dlgOpenSourceFile`: several existing files, the filter list with
// "Supported Files" selected, no read-only box, resizable.
void ConfigureOpenSourceFileDialog(QFileDialog& dialog, const std::string& initialDir);

// Runs the open dialog; the chosen paths in its order, none when cancelled.
std::vector<std::string> RunOpenSourceFileDialog(QWidget* owner, const std::string& initialDir);

// The output folder picker: a folder path, or nothing when cancelled.
std::optional<std::string> PickOutputFolderDialog(QWidget* owner);

inline constexpr const char* kSelectOutputFolderCaption = "Please select output folder:";

}  // namespace sonvarro
