// SPDX-License-Identifier: Apache-2.0
// Ctrl+C while modules are being written: the first asks the work to stop
// starting anything new and to finish what it has begun; a second ends the
// program at once, as Ctrl+C usually does.
#pragma once

namespace kelvane::cli {

class Interruption final {
public:
    // Takes over SIGINT until destroyed.
    Interruption();
    ~Interruption();
    Interruption(const Interruption &) = delete;
    Interruption &operator=(const Interruption &) = delete;

    // Whether Ctrl+C was pressed since.
    static bool requested();
};

}  // namespace kelvane::cli
