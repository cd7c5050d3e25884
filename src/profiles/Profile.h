// SPDX-License-Identifier: Apache-2.0
// Profile files: some or all parameter values in a small JSON document,
//   {"format": "kelvane-profile", "version": 1, "parameters": {"baud_rate": "9600bps", ...}}
#pragma once

#include "core/Result.h"
#include "protocol/ParameterValues.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace kelvane {

inline constexpr char ProfileFormat[] = "kelvane-profile";
inline constexpr int ProfileVersion = 1;
// Far above any real profile; keeps a wrong file from being read whole.
inline constexpr qint64 MaxProfileBytes = 64 * 1024;

// Why a profile was refused. The message is one translated English sentence
// that starts with the file and names the parameter and what it accepts.
struct ProfileError {
    QString file;
    QString parameter;  // the key, empty when the file as a whole is wrong
    QString message;
};

// The values of a profile's bytes, all or nothing; `fileName` is for messages.
Result<ParameterValues, ProfileError> readProfile(const QByteArray &bytes, const QString &fileName);
Result<ParameterValues, ProfileError> loadProfile(const QString &path);

// Stable, indented JSON with the parameters in catalogue order, ending in a newline.
QByteArray profileText(const ParameterValues &values);
// Replaces the file in one step, so a failed save leaves the old one whole.
std::optional<ProfileError> saveProfile(const ParameterValues &values, const QString &path);

}  // namespace kelvane
