#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
# ansible-playbook with the kelvane_profile module against kelvane-sim in the
# private network: check mode reports changes and writes nothing, a run writes
# and restarts, a second run changes nothing, a missing module fails with
# kelvane's message. Each playbook's output is printed as it ran.
#   run-playbooks.py SOURCE_DIR KELVANE KELVANE_SIM
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

SOURCE, KELVANE, SIM = sys.argv[1:4]
LINE = [{"module": "024B56000001", "ip": "192.168.1.20"}, {"module": "024B56000002", "ip": "192.168.1.21"}]
PROFILE = {"baud_rate": "115200bps", "data_bits": "8", "destination_port": "04001"}
failures = []


def check(ok, what):
    print(("ok:   " if ok else "FAIL: ") + what, flush=True)
    if not ok:
        failures.append(what)


def frames(trace):
    """The datagrams the simulator heard, once its trace is still."""
    size = -1
    while size != os.path.getsize(trace):
        size = os.path.getsize(trace)
        time.sleep(0.3)
    with open(trace, encoding="latin-1") as lines:
        return [bytes.fromhex(line[4:].split(" | ")[0]) for line in lines if line.startswith("in  ")]


def read(module):
    ran = subprocess.run([KELVANE, "read", module, "--json"], capture_output=True, text=True)
    return json.loads(ran.stdout).get("parameters", {}) if ran.returncode == 0 else {}


def playbook(work, line, *options):
    """ansible-playbook's status, output, recap's changed and failed counts, and the report."""
    report = os.path.join(work, "report.json")
    if os.path.exists(report):
        os.remove(report)
    variables = {"line": line, "profile": os.path.join(work, "line.json"), "kelvane": KELVANE, "report": report}
    tmp = os.path.join(work, "ansible/tmp")
    env = dict(os.environ, ANSIBLE_LIBRARY=os.path.join(SOURCE, "contrib/ansible"), ANSIBLE_NOCOLOR="1",
               ANSIBLE_HOME=os.path.join(work, "ansible"), ANSIBLE_LOCAL_TEMP=tmp, ANSIBLE_REMOTE_TEMP=tmp,
               ANSIBLE_CONFIG=os.path.join(work, "ansible.cfg"))
    print("$ ansible-playbook commission.yml " + " ".join(options), flush=True)
    ran = subprocess.run(["ansible-playbook", "-i", "localhost,", os.path.join(SOURCE, "tests/ansible/commission.yml"),
                          "-e", json.dumps(variables), *options], cwd=work, env=env, capture_output=True, text=True)
    print(ran.stdout + ran.stderr, flush=True)
    recap = re.search(r"^localhost\s*:.*changed=(\d+).*failed=(\d+)", ran.stdout, re.M)
    results = json.load(open(report)) if os.path.exists(report) else []
    return ran.returncode, ran.stdout, tuple(map(int, recap.groups())) if recap else (), results


def commission(work, trace, what, options, changed, outcome, each):
    """A playbook over LINE: the task changed or not, each item's outcome, and `each` the
    writes and restarts that reached each module."""
    heard = len(frames(trace))
    status, out, counts, results = playbook(work, LINE, *options)
    check(status == 0 and counts == (int(changed), 0), "%s: the task reported changed=%d" % (what, changed))
    check([(r.get("changed"), r.get("outcome")) for r in results] == [(changed, outcome)] * 2,
          "%s: both modules %s" % (what, outcome))
    new = frames(trace)[heard:]
    for item in LINE:
        lead = bytes.fromhex(item["module"])
        writes = sum(f.startswith(lead + b"AT") and f[10:11] == b"=" for f in new)
        check((writes, new.count(lead + b"END")) == each,
              "%s: %s had %d writes, %d restarts" % ((what, item["module"]) + each))
    return out


def main():
    if os.environ.get("KELVANE_PRIVATE_NET") != "inside":
        sys.exit("FAIL: not inside the private network")
    # Missing, the test fails: it is the only check that the module works in Ansible.
    if not shutil.which("ansible-playbook"):
        sys.exit("FAIL: ansible-playbook not found; scripts/setup-debian installs ansible-core")
    work = tempfile.mkdtemp(prefix="kelvane-ansible-")
    doc = subprocess.run(["ansible-doc", "-M", os.path.join(SOURCE, "contrib/ansible"), "kelvane_profile"],
                         env=dict(os.environ, ANSIBLE_HOME=os.path.join(work, "ansible")), capture_output=True,
                         text=True)
    check(doc.returncode == 0 and "= profile" in doc.stdout, "ansible-doc reads the module's documentation")
    # No configuration of the machine's or the user's: only what the test sets.
    open(os.path.join(work, "ansible.cfg"), "w").close()
    with open(os.path.join(work, "line.json"), "w") as f:
        json.dump({"format": "kelvane-profile", "version": 1, "parameters": PROFILE}, f)
    trace = os.path.join(work, "sim.trace")
    sim = subprocess.Popen([os.path.join(SOURCE, "scripts/peer-host"), SIM, "--modules", "3", "--restart-ms", "0",
                            "--verbose"], stdout=subprocess.PIPE, stderr=open(trace, "wb"))
    try:
        if sim.stdout.readline() != b"ready\n":
            sys.exit("FAIL: the simulator did not start")
        factory = {m["module"]: read(m["module"]) for m in LINE}

        out = commission(work, trace, "check mode", ["--check", "--diff"], True, "would-change", (0, 0))
        check("+baud_rate: 115200bps" in out, "check mode: --diff shows the new baud rate")

        commission(work, trace, "first run", [], True, "restarted", (17, 1))
        for item in LINE:
            octets = ".".join("%03d" % int(o) for o in item["ip"].split("."))
            check(read(item["module"]) == dict(factory[item["module"]], **PROFILE, ip_address=octets),
                  "first run: %s holds the profile and %s" % (item["module"], octets))

        commission(work, trace, "second run", ["--diff"], False, "unchanged", (0, 0))

        status, out, counts, _ = playbook(work, [{"module": "024B56000009", "ip": "192.168.1.29"}])
        check(status != 0 and counts[1:] == (1,) and "Module 024B56000009 was not found on the network." in out,
              "a module not on the network fails the task with kelvane's message")
    finally:
        sim.terminate()
        sim.wait()
        shutil.rmtree(work, ignore_errors=True)
    print("%d failed" % len(failures), flush=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
