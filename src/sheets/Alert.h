#pragma once

#include <QMessageBox>

// Alerts shown as sheets: modal to their window only, gone once answered, and
// found by tests under their object name.
namespace Alert
{

// The alert, for the caller to add its buttons and open.
QMessageBox* sheet(QWidget* window, QMessageBox::Icon icon, const char* name, const QString& message,
                   const QString& informative);
// An alert that only tells, with one button, OK; shown at once.
void tell(QWidget* window, QMessageBox::Icon icon, const char* name, const QString& message,
          const QString& informative);

} // namespace Alert
