// SPDX-License-Identifier: Apache-2.0
// What the operator can ask of a module, and the ways such a request can end.
#pragma once

namespace kelvane {

enum class Operation { Scan, Read, Write, Defaults, Reset };

enum class OutcomeKind {
    Done,             // it did what was asked
    NoAnswer,         // silence after every attempt; a scan that found no module
    Refused,          // the module answered no
    BadAnswer,        // every query was answered, but some answers could not be taken
    NotFound,         // the module is not in the list
    Superseded,       // another operation took over before this one ended
    PortUnavailable,  // local port 65002 could not be had
    SendFailed,       // the frame went out on no card
    InvalidValue,     // a value the write cannot send
};

}  // namespace kelvane
