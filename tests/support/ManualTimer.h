// SPDX-License-Identifier: Apache-2.0
// Timer1 under the test's control: time passes only when the test fires it.
#pragma once

#include "core/OneShotTimer.h"

namespace kelvane::test {

class ManualTimer final : public OneShotTimer {
public:
    void start(int intervalMs) override
    {
        m_active = true;
        lastInterval = intervalMs;
    }
    void stop() override { m_active = false; }
    bool isActive() const override { return m_active; }

    // The 400 ms pass: a running timer disables itself and expires; a stopped one does nothing.
    bool fire()
    {
        if (!m_active)
            return false;
        m_active = false;
        emit expired();
        return true;
    }

    int lastInterval = 0;

private:
    bool m_active = false;
};

}  // namespace kelvane::test
