#pragma once
// The modal message box: OK button only, no icon, the application's name as
// title.

#include <QString>

#include <functional>

class QWidget;

namespace platform {

void showMessage(QWidget* parent, const QString& text);

// Tests route messages here instead of a blocking box (an empty hook restores
// the box). The hook answers OK by returning.
using MessageHook = std::function<void(const QString& text)>;
void setMessageHook(MessageHook hook);

} // namespace platform
