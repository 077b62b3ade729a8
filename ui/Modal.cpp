#include "ui/Modal.h"

namespace {
Modal::Recorder* g_recorder = nullptr;
QPointer<QDialog> g_lastShown;
} // namespace

int ShowModal(QDialog* dialog)
{
    if (!dialog)
        return QDialog::Rejected;
    if (!g_recorder)
        return dialog->exec();

    QPointer<QDialog> guard(dialog);
    g_lastShown = dialog;
    dialog->show();
    g_recorder->record(dialog);
    return guard ? guard->result() : int(QDialog::Rejected);
}

QDialog* LastShownModal()
{
    return g_lastShown.data();
}

namespace Modal {

Recorder::Recorder(Handler onShown) : m_previous(g_recorder), m_onShown(std::move(onShown))
{
    g_recorder = this;
}

Recorder::~Recorder()
{
    g_recorder = m_previous;
}

void Recorder::record(QDialog* dialog)
{
    m_shown.append(dialog);
    if (m_onShown)
        m_onShown(dialog);
}

} // namespace Modal
