// SPDX-License-Identifier: Apache-2.0
// Timer1: the one time-out shared by every operation. Tests drive a manual one.
#pragma once

#include <QObject>

namespace kelvane {

class OneShotTimer : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Sets the interval and enables the timer; a running one starts over.
    virtual void start(int intervalMs) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;

signals:
    // Emitted once per start, after the timer has disabled itself.
    void expired();
};

}  // namespace kelvane
