// SPDX-License-Identifier: Apache-2.0
// Timer1 on a single-shot QTimer.
#pragma once

#include "OneShotTimer.h"

#include <QTimer>

namespace kelvane {

class QtOneShotTimer final : public OneShotTimer {
    Q_OBJECT
public:
    explicit QtOneShotTimer(QObject *parent = nullptr);

    void start(int intervalMs) override;
    void stop() override;
    bool isActive() const override;

private:
    QTimer m_timer;
};

}  // namespace kelvane
