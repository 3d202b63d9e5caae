#pragma once

#include <QString>

#include <functional>

class QWidget;

// Turns the event loop until `done` holds or `milliseconds` pass; returns `done()`.
bool waitFor(const std::function<bool()> &done, int milliseconds = 30000);
// Saves what `window` shows as build/screenshots/`name`; fails the running test when it cannot.
void saveScreenshot(QWidget *window, const QString &name);
