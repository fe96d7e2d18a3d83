#include "core/Body.h"

Body::Body(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Lumenograf"));
}

Body::~Body() = default;
