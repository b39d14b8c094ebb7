"""Runs the launcher's media discovery as the launcher does, and reads
what it prints."""

import os
import subprocess

CHECKOUT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))
PROGRAM = os.path.join(CHECKOUT, "tools", "lib", "tarnix-media")
NO_BUS = "unix:path=/nonexistent/tarnix-test-bus"


def judged_mounts(environment: dict, system_bus: str = NO_BUS, folder: str = None) -> dict:
    """{mount point (bytes): (offered, access)} for every mount printed;
    run in folder when one is given."""
    env = dict(os.environ)
    env.update(environment)
    env["DBUS_SYSTEM_BUS_ADDRESS"] = system_bus
    done = subprocess.run([PROGRAM], env=env, cwd=folder, stdout=subprocess.PIPE, check=True, timeout=30)
    fields = done.stdout.split(b"\0")
    assert fields[-1] == b"" and (len(fields) - 1) % 3 == 0, done.stdout
    result = {}
    for i in range(0, len(fields) - 1, 3):
        result[fields[i + 2]] = (fields[i] == b"removable", fields[i + 1].decode())
    return result


def offered(environment: dict, system_bus: str = NO_BUS) -> set:
    return {point for point, (is_offered, _) in judged_mounts(environment, system_bus).items() if is_offered}
