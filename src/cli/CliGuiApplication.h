#pragma once

#include <QGuiApplication>

#include <memory>

namespace fiscora::cli {

// Text layout and rich text measure fonts, which needs a GUI application; a headless one
// (offscreen, unless QT_QPA_PLATFORM says otherwise) is made when none exists yet. Qt's own notes
// about that platform are kept off standard error, which carries the command's messages.
std::unique_ptr<QGuiApplication> EnsureGuiApplication();

} // namespace fiscora::cli
