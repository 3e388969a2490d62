#pragma once
// Builds a dialog's controls from its template: labels, edits, buttons, time
// pickers, combo boxes, group boxes and pictures, placed in dialog units,
// with accessible names from the template or the label that names them.

#include "platform/DialogTemplate.h"

#include <functional>
#include <map>

class QDialog;
class QPushButton;
class QWidget;

namespace platform {

struct ControlHooks {
    std::function<void(int id)> clicked;           // a button of that id was clicked
    std::function<void(QPushButton*)> markDefault; // a button with the "default" style
};

// Sets the dialog's title, size and font and creates the template's controls
// as its children, in template order (so tab order). Returns the controls that
// have an id, by id.
std::map<int, QWidget*> createControls(QDialog& dialog, const DialogTemplate& t,
                                       const ControlHooks& hooks);

} // namespace platform
