# SPDX-License-Identifier: Apache-2.0
# Ansible module kelvane_profile: one Kelvane module brought to a profile by `kelvane apply`.
# No "#!" line: Ansible picks the interpreter (ansible_python_interpreter), and
# the file is installed as data, not as a program.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
---
module: kelvane_profile
short_description: Bring a Kelvane serial-to-Ethernet module to a profile
description:
  - Runs C(kelvane apply --json) for one module on the host the task runs on,
    which must be on the module's LAN segment; the tool finds the module by a
    UDP broadcast.
  - The module is read first. When it already holds every value of the profile
    (and the address given by I(ip)) nothing is written and nothing restarted,
    and the task reports no change. Otherwise all 17 parameters are written.
  - In check mode the module is read and compared only (C(kelvane apply --check)).
  - With C(--diff) the parameters that change are shown, before and after.
options:
  module:
    description:
      - The module's address, 12 hex digits as C(kelvane scan) lists it.
      - Quote it in YAML, or one of only decimal digits is read as a number.
    type: str
    required: true
  profile:
    description:
      - A profile file on the host the task runs on, as C(kelvane save) writes it.
      - It may hold only some parameters; the module keeps the rest.
    type: path
    required: true
  ip:
    description: The module's own IP address (C(ip_address)), over the profile's.
    type: str
  verify:
    description: Read the module back after writing and fail when it differs.
    type: bool
    default: true
  reset:
    description:
      - Restart the module after a write that was read back as written, so that
        new network settings take effect.
      - A module that needed no write is not restarted.
    type: bool
    default: false
  interface:
    description: Limit kelvane to these network cards (C(--interface)).
    type: list
    elements: str
  kelvane:
    description: The kelvane program, a path or a name looked up on the PATH.
    type: str
    default: kelvane
attributes:
  check_mode:
    support: full
  diff_mode:
    support: full
notes:
  - Installed by the Debian package C(kelvane) in
    C(/usr/share/ansible/plugins/modules), where Ansible finds it without configuration.
  - Never run it on a network whose modules must not be touched.
"""

EXAMPLES = r"""
- name: Commission line 3, each module with its own address
  kelvane_profile:
    module: "{{ item.module }}"
    profile: /etc/kelvane/line3.json
    ip: "{{ item.ip }}"
    reset: true
  loop:
    - { module: "024B56000001", ip: 192.168.1.20 }
    - { module: "024B56000002", ip: 192.168.1.21 }

- name: The baud rate only, through the card on the plant's LAN
  kelvane_profile:
    module: "024B56000003"
    profile: /etc/kelvane/baud-only.json
    interface: enp3s0
"""

RETURN = r"""
changed:
  description: Whether a parameter changed (in check mode, would change).
  type: bool
  returned: always
outcome:
  description:
    - kelvane's word for the module's result.
    - C(unchanged), C(written), C(verified), C(restarted), C(would-change) when it succeeded;
      C(failed), C(not-found), C(differs) when it failed.
  type: str
  returned: always
  sample: restarted
changes:
  description: Each parameter that changed or would change, from and to.
  type: dict
  returned: always
  sample: {"baud_rate": {"from": "9600bps", "to": "115200bps"}}
address:
  description: The module's address as kelvane writes it.
  type: str
  returned: success
  sample: 024B56000001
ip_address:
  description: The address the module was given, when the profile or I(ip) gives one.
  type: str
  returned: when given
  sample: 192.168.001.020
"""

import json

from ansible.module_utils.basic import AnsibleModule

FAILED = ("failed", "not-found", "differs")


def command(params, check):
    cmd = [params["kelvane"], "apply", params["profile"], params["module"], "--json"]
    if params["ip"]:
        cmd += ["--ip-from", params["ip"]]
    if params["verify"]:
        cmd.append("--verify")
    if params["reset"]:
        cmd.append("--reset")
    for card in params["interface"] or []:
        cmd += ["--interface", card]
    if check:
        cmd.append("--check")
    return cmd


def diff_of(address, changes):
    lines = sorted(changes.items())
    return {
        "before_header": "%s (module)" % address,
        "after_header": "%s (profile)" % address,
        "before": "".join("%s: %s\n" % (name, change["from"]) for name, change in lines),
        "after": "".join("%s: %s\n" % (name, change["to"]) for name, change in lines),
    }


def main():
    module = AnsibleModule(
        argument_spec=dict(
            module=dict(type="str", required=True),
            profile=dict(type="path", required=True),
            ip=dict(type="str"),
            verify=dict(type="bool", default=True),
            reset=dict(type="bool", default=False),
            interface=dict(type="list", elements="str"),
            kelvane=dict(type="str", default="kelvane"),
        ),
        supports_check_mode=True,
    )
    params = module.params
    program = params["kelvane"]
    if "/" not in program:
        program = module.get_bin_path(program, required=True)
    params["kelvane"] = program

    cmd = command(params, module.check_mode)
    rc, out, err = module.run_command(cmd)
    try:
        document = json.loads(out)
    except ValueError:
        module.fail_json(msg=err.strip() or "kelvane gave no answer", rc=rc, cmd=cmd, stderr=err, stdout=out)

    # A bad command line or profile, or no port to send from: one error for the whole run.
    if "error" in document:
        module.fail_json(msg=document["error"], rc=rc, cmd=cmd, outcome=document.get("outcome", "failed"),
                         changed=False, changes={})
    entries = document.get("modules") or []
    if len(entries) != 1:
        module.fail_json(msg="kelvane answered for %d modules, not one" % len(entries), rc=rc, cmd=cmd, stdout=out)

    entry = entries[0]
    changes = entry.get("changes", {})
    result = dict(
        changed=bool(entry.get("changed")),
        outcome=entry["result"],
        changes=changes,
        address=entry["address"],
    )
    if "ip_address" in entry:
        result["ip_address"] = entry["ip_address"]
    if module._diff and changes:
        result["diff"] = diff_of(entry["address"], changes)
    if entry["result"] in FAILED:
        # Not on success: Ansible takes a non-zero rc for a failure, and a check that finds
        # changes exits 1.
        result["rc"] = rc
        if "differences" in entry:
            result["differences"] = entry["differences"]
        module.fail_json(msg=entry.get("message") or entry["result"], **result)
    module.exit_json(**result)


if __name__ == "__main__":
    main()
