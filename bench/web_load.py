#!/usr/bin/env python3
"""Hostile load on the configuration page of a running clock, on loopback only.

    bench/web_load.py [--program build/release/src/chimewell] [--idle 1000] [--trickle 100]
                      [--seconds 30]

Starts the program headless with a fresh home folder and the null sound sink, then keeps
IDLE connections open that send nothing and TRICKLE clients that send one byte a second
(each reconnects when the server closes it, so the numbers hold for the whole run), and every
quarter second makes one normal page request. Reports the normal requests' answer times
(median, 95th percentile, worst, failures) and the program's memory (VmRSS) and thread count
before and during the load. Everything stops after SECONDS, and the program is ended.
"""
import argparse
import os
import resource
import selectors
import signal
import socket
import statistics
import subprocess
import sys
import tempfile
import time


def free_port():
    """A free port the settings can name (they take 1..32766)."""
    for port in range(20000 + os.getpid() % 5000, 32000):
        with socket.socket() as s:
            try:
                s.bind(("0.0.0.0", port))
                return port
            except OSError:
                continue
    sys.exit("no free port")


def status(pid, field):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(field + ":"):
                return int(line.split()[1])
    return -1


def normal_request(port, timeout=10.0):
    """Seconds until the whole page has arrived, or None when it did not."""
    start = time.monotonic()
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=timeout) as s:
            s.sendall(f"GET / HTTP/1.1\r\nHost: localhost:{port}\r\n\r\n".encode())
            received = b""
            while True:
                chunk = s.recv(65536)
                if not chunk:
                    break
                received += chunk
    except OSError:
        return None
    if not received.startswith(b"HTTP/1.1 200 OK\r\n"):
        return None
    return time.monotonic() - start


class Crowd:
    """The idle and trickling connections, kept at their numbers on one selector."""

    def __init__(self, port, idle, trickle):
        self.port, self.want = port, {"idle": idle, "trickle": trickle}
        self.sel = selectors.DefaultSelector()
        self.conns = {"idle": set(), "trickle": set()}
        self.pending = {}  # trickling socket: the bytes it has still to send
        self.opened = 0

    def top_up(self):
        for kind, want in self.want.items():
            while len(self.conns[kind]) < want:
                s = socket.socket()
                s.setblocking(False)
                s.connect_ex(("127.0.0.1", self.port))
                self.sel.register(s, selectors.EVENT_READ, kind)
                self.conns[kind].add(s)
                self.opened += 1
                if kind == "trickle":
                    self.pending[s] = b"GET / HTTP/1.1\r\nHost: localhost\r\nX-Slow: " + b"x" * 1000

    def drop(self, s, kind):
        self.sel.unregister(s)
        self.conns[kind].discard(s)
        self.pending.pop(s, None)
        s.close()

    def trickle_one_byte_each(self):
        for s in list(self.conns["trickle"]):
            try:
                s.send(self.pending[s][:1])
                self.pending[s] = self.pending[s][1:]
            except OSError:
                self.drop(s, "trickle")

    def reap(self, timeout):
        """Closes what the server closed (it never answers these clients)."""
        for key, _ in self.sel.select(timeout):
            s, kind = key.fileobj, key.data
            try:
                data = s.recv(4096)
            except OSError:
                data = b""
            if not data:
                self.drop(s, kind)

    def close(self):
        for kind in self.conns:
            for s in list(self.conns[kind]):
                self.drop(s, kind)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--program", default="build/release/src/chimewell")
    ap.add_argument("--idle", type=int, default=1000)
    ap.add_argument("--trickle", type=int, default=100)
    ap.add_argument("--seconds", type=float, default=30)
    args = ap.parse_args()
    if not os.access(args.program, os.X_OK):
        sys.exit(f"no program at {args.program} (scripts/run builds it)")
    args.seconds = min(args.seconds, 600)  # bounded whatever is asked
    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    resource.setrlimit(resource.RLIMIT_NOFILE, (hard, hard))

    home = tempfile.TemporaryDirectory()
    port = free_port()
    with open(os.path.join(home.name, "chimewell.ini"), "w") as f:
        f.write(f"[App]\r\nPortNumber={port}\r\n")
    program = subprocess.Popen([args.program, "--home", home.name, "--headless", "--audio", "null"],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    crowd = None
    try:
        deadline = time.monotonic() + 30
        while normal_request(port, 1.0) is None:
            if time.monotonic() > deadline or program.poll() is not None:
                sys.exit("the program did not answer within 30 s")
            time.sleep(0.2)
        quiet = [normal_request(port) for _ in range(20)]
        before = {f: status(program.pid, f) for f in ("VmRSS", "Threads")}

        crowd = Crowd(port, args.idle, args.trickle)
        times, failures = [], 0
        peak = dict(before)
        end = time.monotonic() + args.seconds
        next_byte = next_normal = next_sample = time.monotonic()
        while time.monotonic() < end:
            now = time.monotonic()
            crowd.top_up()
            if now >= next_byte:
                crowd.trickle_one_byte_each()
                next_byte += 1.0
            if now >= next_normal and now > 2.0 + (end - args.seconds):  # crowd in place
                t = normal_request(port)
                if t is None:
                    failures += 1
                else:
                    times.append(t)
                next_normal = time.monotonic() + 0.25
            if now >= next_sample:
                for f in peak:
                    peak[f] = max(peak[f], status(program.pid, f))
                next_sample += 1.0
            crowd.reap(0.05)
        during = {f: status(program.pid, f) for f in ("VmRSS", "Threads")}
    finally:
        if crowd:
            crowd.close()
        program.send_signal(signal.SIGTERM)
        try:
            program.wait(10)
        except subprocess.TimeoutExpired:
            program.kill()

    def ms(x):
        return f"{x * 1000:.1f} ms"

    times.sort()
    print(f"load: {args.idle} idle + {args.trickle} trickling (1 byte/s) connections for "
          f"{args.seconds:.0f} s, {crowd.opened} connections opened in all")
    print(f"quiet:  median {ms(statistics.median(quiet))}, worst {ms(max(quiet))}")
    if times:
        p95 = times[min(len(times) - 1, int(len(times) * 0.95))]
        print(f"loaded: {len(times)} normal requests, median {ms(statistics.median(times))}, "
              f"95% {ms(p95)}, worst {ms(times[-1])}, over 1 s: "
              f"{sum(t > 1 for t in times)}, failed: {failures}")
    else:
        print(f"loaded: no normal request answered, failed: {failures}")
    print(f"memory: VmRSS {before['VmRSS']} kB before, {peak['VmRSS']} kB peak, "
          f"{during['VmRSS']} kB at the end")
    print(f"threads: {before['Threads']} before, {peak['Threads']} peak, "
          f"{during['Threads']} at the end")
    return 0 if times and failures == 0 and times[-1] <= 1.0 else 1


if __name__ == "__main__":
    sys.exit(main())
