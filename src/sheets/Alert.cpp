#include "sheets/Alert.h"

#include <QGuiApplication>

QMessageBox* Alert::sheet(QWidget* window, QMessageBox::Icon icon, const char* name, const QString& message,
                          const QString& informative)
{
    auto* box = new QMessageBox(icon, QGuiApplication::applicationDisplayName(), message,
                                QMessageBox::NoButton, window);
    box->setObjectName(QLatin1String(name));
    box->setInformativeText(informative);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    return box;
}

void Alert::tell(QWidget* window, QMessageBox::Icon icon, const char* name, const QString& message,
                 const QString& informative)
{
    QMessageBox* box = sheet(window, icon, name, message, informative);
    box->addButton(QCoreApplication::translate("Alert", "OK"), QMessageBox::AcceptRole);
    box->open();
}
