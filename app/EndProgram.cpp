#include "app/ModAdmin.h"

#include <QApplication>

namespace modAdmin {

namespace {
std::function<void(int)>& endHandler()
{
    static std::function<void(int)> handler;
    return handler;
}
} // namespace

void SetEndHandler(std::function<void(int)> handler)
{
    endHandler() = std::move(handler);
}

void EndProgram(int exitCode)
{
    if (endHandler()) {
        endHandler()(exitCode);
        return;
    }
    // Leaves every running event loop, the modal ones included.
    QCoreApplication::exit(exitCode);
}

} // namespace modAdmin
