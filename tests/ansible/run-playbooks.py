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
passes = []


def check(ok, what):
    print(("ok:   " if ok else "FAIL: ") + what, flush=True)
    (passes if ok else failures).append(what)


class Simulator:
    """kelvane-sim on a peer host, its trace of every datagram in a file."""

    def __init__(self, work):
        self.trace = os.path.join(work, "sim.trace")
        self.err = open(self.trace, "wb")
        self.process = subprocess.Popen(
            [os.path.join(SOURCE, "scripts/peer-host"), SIM, "--modules", "3", "--restart-ms", "0", "--verbose"],
            stdout=subprocess.PIPE, stderr=self.err)
        if self.process.stdout.readline() != b"ready\n":
            sys.exit("run-playbooks: the simulator did not start")

    def frames(self):
        """The datagrams heard so far, as lists of bytes, once the trace is still."""
        size = -1
        while size != os.path.getsize(self.trace):
            size = os.path.getsize(self.trace)
            time.sleep(0.3)
        frames = []
        with open(self.trace, encoding="latin-1") as trace:
            for line in trace:
                if line.startswith("in  "):
                    frames.append(bytes.fromhex(line[4:].split(" | ")[0]))
        return frames

    def stop(self):
        self.process.terminate()
        self.process.wait()


def writes_and_restarts(frames, module):
    lead = bytes.fromhex(module)
    writes = [f for f in frames if f.startswith(lead + b"AT") and f[10:11] == b"="]
    restarts = [f for f in frames if f == lead + b"END"]
    return len(writes), len(restarts)


def read(module):
    ran = subprocess.run([KELVANE, "read", module, "--json"], capture_output=True, text=True)
    return json.loads(ran.stdout).get("parameters", {}) if ran.returncode == 0 else {}


def playbook(work, line, *options):
    """ansible-playbook's status, output, recap counts and the report."""
    report = os.path.join(work, "report.json")
    if os.path.exists(report):
        os.remove(report)
    variables = os.path.join(work, "vars.json")
    with open(variables, "w") as f:
        json.dump({"line": line, "profile": os.path.join(work, "line.json"), "kelvane": KELVANE,
                   "report": report}, f)
    env = dict(os.environ, ANSIBLE_LIBRARY=os.path.join(SOURCE, "contrib/ansible"), ANSIBLE_NOCOLOR="1",
               ANSIBLE_HOME=os.path.join(work, "ansible"), ANSIBLE_LOCAL_TEMP=os.path.join(work, "ansible/tmp"),
               ANSIBLE_REMOTE_TEMP=os.path.join(work, "ansible/tmp"), ANSIBLE_CONFIG=os.path.join(work, "ansible.cfg"))
    command = ["ansible-playbook", "-i", "localhost,", os.path.join(SOURCE, "tests/ansible/commission.yml"),
               "-e", "@" + variables, *options]
    print("$ " + " ".join(["ansible-playbook", "commission.yml", *options]), flush=True)
    ran = subprocess.run(command, cwd=work, env=env, capture_output=True, text=True)
    print(ran.stdout + ran.stderr, flush=True)
    recap = re.search(r"^localhost\s*:\s*ok=(\d+)\s+changed=(\d+)\s+unreachable=(\d+)\s+failed=(\d+)", ran.stdout,
                      re.M)
    counts = dict(zip(("ok", "changed", "unreachable", "failed"), map(int, recap.groups()))) if recap else {}
    results = []
    if os.path.exists(report):
        with open(report) as f:
            results = json.load(f)
    return ran.returncode, ran.stdout, counts, results


def commission(work, sim, what, options, changed, outcome, each):
    """A playbook over LINE: the recap counts the task once, its items each in the report, and
    `each` is the writes and restarts that reached each module. Its output."""
    heard = len(sim.frames())
    status, out, counts, results = playbook(work, LINE, *options)
    frames = sim.frames()[heard:]
    check(status == 0 and counts.get("changed") == int(changed), "%s: the task reported changed=%d" % (what, changed))
    check([(r.get("changed"), r.get("outcome")) for r in results] == [(changed, outcome)] * len(LINE),
          "%s: both modules %s" % (what, outcome))
    check(all(writes_and_restarts(frames, m["module"]) == each for m in LINE),
          "%s: %d writes and %d restarts each" % ((what,) + each))
    return out


def main():
    check(os.environ.get("KELVANE_PRIVATE_NET") == "inside", "inside the private network")
    if failures:
        return 1
    # Missing, the test fails: it is the only check that the module works in Ansible.
    if not shutil.which("ansible-playbook"):
        print("FAIL: ansible-playbook not found; scripts/setup-debian installs ansible-core", flush=True)
        return 1
    work = tempfile.mkdtemp(prefix="kelvane-ansible-")
    doc = subprocess.run(["ansible-doc", "-M", os.path.join(SOURCE, "contrib/ansible"), "kelvane_profile"],
                         env=dict(os.environ, ANSIBLE_HOME=os.path.join(work, "ansible")), capture_output=True,
                         text=True)
    check(doc.returncode == 0 and "= profile" in doc.stdout, "ansible-doc reads the module's documentation")
    # No configuration of the machine's or the user's: only what the test sets.
    open(os.path.join(work, "ansible.cfg"), "w").close()
    with open(os.path.join(work, "line.json"), "w") as f:
        json.dump({"format": "kelvane-profile", "version": 1, "parameters": PROFILE}, f)
    sim = Simulator(work)
    try:
        modules = [m["module"] for m in LINE]
        factory = {m: read(m) for m in modules}
        check(all(len(v) == 17 for v in factory.values()), "kelvane reads the modules before the playbook")

        out = commission(work, sim, "check mode", ["--check", "--diff"], True, "would-change", (0, 0))
        check("+baud_rate: 115200bps" in out, "check mode: --diff shows the new baud rate")
        check({m: read(m) for m in modules} == factory, "check mode: the modules hold what they held")

        commission(work, sim, "first run", [], True, "restarted", (17, 1))
        for item in LINE:
            held = read(item["module"])
            octets = ".".join("%03d" % int(o) for o in item["ip"].split("."))
            check(held == dict(factory[item["module"]], **PROFILE, ip_address=octets),
                  "first run: %s holds the profile and %s" % (item["module"], octets))

        commission(work, sim, "second run", ["--diff"], False, "unchanged", (0, 0))

        status, out, counts, results = playbook(work, [{"module": "024B56000009", "ip": "192.168.1.29"}])
        check(status != 0 and counts.get("failed") == 1, "a module not on the network fails the task")
        check("Module 024B56000009 was not found on the network." in out, "with kelvane's message")
    finally:
        sim.stop()
        shutil.rmtree(work, ignore_errors=True)
    print("%d passed, %d failed" % (len(passes), len(failures)), flush=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
