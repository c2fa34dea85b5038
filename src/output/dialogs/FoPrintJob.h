#pragma once

#include <functional>

class QWidget;

namespace fiscora {

class TFoRenderPrinter;
class TFoSystem;

// Runs a print with the report system's status window (when soShowStatus asks for it) reading its
// printer status format ("Printing page %p"); the window's Cancel abandons the job.
void PrintWithStatus(TFoRenderPrinter &printer, TFoSystem &system, QWidget *parent,
                     const std::function<void()> &print);

} // namespace fiscora
