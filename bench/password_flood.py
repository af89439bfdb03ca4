#!/usr/bin/env python3
"""Wrong passwords from other machines, and this machine's own page requests meanwhile.

    sudo bench/password_flood.py [--program build/release/src/chimewell] [--clients 20]
                                 [--addresses 5] [--seconds 30]

Makes two network namespaces joined by a virtual cable, so that all traffic stays in them:
"here" runs the program headless with a fresh home folder and the null sound sink, "there" is
the other machines. An access password is set from loopback; then CLIENTS clients in "there",
spread over ADDRESSES addresses, send page requests with wrong passwords as fast as they are
answered, while every tenth of a second this machine asks for the page over loopback. Reports
the local requests' answer times (median, 99th percentile, worst, failures), the flood's
answers by status, and the program's memory (VmRSS, and its peak VmHWM) before and during.
Needs root (network namespaces) and `ip`.
"""
import argparse
import base64
import ctypes
import os
import signal
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time

CLONE_NEWNET = 0x40000000
HERE_ADDRESS = "10.231.0.1"
PASSWORD = "bench-pass-1"


def sh(*args):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


class Lab:
    """The two namespaces; removed again by close()."""

    def __init__(self, addresses):
        tag = os.getpid()
        self.here, self.there = f"cwflood-here-{tag}", f"cwflood-there-{tag}"
        self.there_addresses = [f"10.231.0.{11 + i}" for i in range(addresses)]
        sh("ip", "netns", "add", self.here)
        sh("ip", "netns", "add", self.there)
        for ns in (self.here, self.there):
            sh("ip", "-n", ns, "link", "set", "lo", "up")
        sh("ip", "-n", self.here, "link", "add", "cw0", "type", "veth", "peer", "name", "cw1",
           "netns", self.there)
        sh("ip", "-n", self.here, "addr", "add", HERE_ADDRESS + "/24", "dev", "cw0")
        for address in self.there_addresses:
            sh("ip", "-n", self.there, "addr", "add", address + "/24", "dev", "cw1")
        sh("ip", "-n", self.here, "link", "set", "cw0", "up")
        sh("ip", "-n", self.there, "link", "set", "cw1", "up")

    @staticmethod
    def enter(name):
        """Moves the calling thread (only it) into the namespace `name`."""
        libc = ctypes.CDLL(None, use_errno=True)
        fd = os.open(f"/run/netns/{name}", os.O_RDONLY)
        try:
            if libc.setns(fd, CLONE_NEWNET) != 0:
                raise OSError(ctypes.get_errno(), "setns")
        finally:
            os.close(fd)

    def close(self):
        for ns in (self.here, self.there):
            subprocess.run(["ip", "netns", "del", ns], stderr=subprocess.DEVNULL)


def exchange(request, destination, port, source=None, timeout=10.0):
    """The whole answer, or None when the connection failed."""
    try:
        with socket.create_connection((destination, port), timeout=timeout,
                                      source_address=(source, 0) if source else None) as s:
            s.sendall(request)
            received = b""
            while True:
                chunk = s.recv(65536)
                if not chunk:
                    return received
                received += chunk
    except OSError:
        return None


def status_of(answer):
    if not answer:
        return "no answer"
    return answer.split(b"\r\n", 1)[0].decode("latin-1").partition(" ")[2]


def memory(pid):
    values = {}
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            key, _, rest = line.partition(":")
            if key in ("VmRSS", "VmHWM"):
                values[key] = int(rest.split()[0])
    return values


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--program", default="build/release/src/chimewell")
    ap.add_argument("--clients", type=int, default=20)
    ap.add_argument("--addresses", type=int, default=5)
    ap.add_argument("--seconds", type=float, default=30)
    args = ap.parse_args()
    if not os.access(args.program, os.X_OK):
        sys.exit(f"no program at {args.program} (scripts/run builds it)")
    if os.geteuid() != 0:
        sys.exit("needs root: the other machines live in a network namespace")
    args.seconds = min(args.seconds, 600)
    args.addresses = max(1, min(args.addresses, 100))

    home = tempfile.TemporaryDirectory()
    port = 18088
    with open(os.path.join(home.name, "chimewell.ini"), "w") as f:
        f.write(f"[App]\r\nPortNumber={port}\r\n")
    lab = Lab(args.addresses)
    program = subprocess.Popen(["ip", "netns", "exec", lab.here, args.program, "--home", home.name,
                                "--headless", "--audio", "null"],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    local_get = f"GET / HTTP/1.1\r\nHost: localhost:{port}\r\n\r\n".encode()
    results = {"local": [], "local_failed": 0, "flood": {}, "peak": {}}
    stop = threading.Event()

    def local_requests():
        Lab.enter(lab.here)
        while not stop.is_set():
            start = time.monotonic()
            answer = exchange(local_get, "127.0.0.1", port)
            if status_of(answer) == "200 OK":
                results["local"].append(time.monotonic() - start)
            else:
                results["local_failed"] += 1
            time.sleep(max(0.0, 0.1 - (time.monotonic() - start)))

    def flood(index):
        Lab.enter(lab.there)
        source = lab.there_addresses[index % len(lab.there_addresses)]
        counts = results["flood"]
        n = 0
        while not stop.is_set():
            n += 1
            credentials = base64.b64encode(f"any:wrong-{index}-{n}".encode()).decode()
            request = (f"GET /?MUTE=1 HTTP/1.1\r\nHost: {HERE_ADDRESS}:{port}\r\n"
                       f"Authorization: Basic {credentials}\r\n\r\n").encode()
            status = status_of(exchange(request, HERE_ADDRESS, port, source))
            counts[status] = counts.get(status, 0) + 1

    try:
        ready = []

        def set_up():
            Lab.enter(lab.here)
            deadline = time.monotonic() + 30
            while status_of(exchange(local_get, "127.0.0.1", port, timeout=1.0)) != "200 OK":
                if time.monotonic() > deadline or program.poll() is not None:
                    return
                time.sleep(0.2)
            body = f"BASESET=1&ACCESSPASSWORD={PASSWORD}".encode()
            post = (f"POST / HTTP/1.1\r\nHost: localhost:{port}\r\nContent-Length: {len(body)}"
                    f"\r\n\r\n").encode() + body
            ready.append(status_of(exchange(post, "127.0.0.1", port)) == "200 OK")

        t = threading.Thread(target=set_up)
        t.start()
        t.join()
        if not ready or not ready[0]:
            sys.exit("the program did not answer, or the password could not be set")
        quiet_threads = [threading.Thread(target=local_requests)]
        quiet_threads[0].start()
        time.sleep(2)
        stop.set()
        quiet_threads[0].join()
        quiet = list(results["local"])
        results["local"].clear()
        before = memory(program.pid)

        stop.clear()
        threads = [threading.Thread(target=flood, args=(i,)) for i in range(args.clients)]
        threads.append(threading.Thread(target=local_requests))
        for thread in threads:
            thread.start()
        peak = dict(before)
        end = time.monotonic() + args.seconds
        while time.monotonic() < end:
            time.sleep(0.5)
            for key, value in memory(program.pid).items():
                peak[key] = max(peak[key], value)
        stop.set()
        for thread in threads:
            thread.join()
        during = memory(program.pid)
    finally:
        stop.set()
        program.send_signal(signal.SIGTERM)
        try:
            program.wait(10)
        except subprocess.TimeoutExpired:
            program.kill()
        lab.close()

    def ms(x):
        return f"{x * 1000:.1f} ms"

    times = sorted(results["local"])
    flood_counts = results["flood"]
    print(f"flood: {args.clients} clients from {args.addresses} addresses with wrong passwords "
          f"for {args.seconds:.0f} s, {sum(flood_counts.values())} requests answered: "
          + ", ".join(f"{status} {count}" for status, count in sorted(flood_counts.items())))
    print(f"local quiet:  median {ms(statistics.median(quiet))}, worst {ms(max(quiet))}")
    if times:
        p99 = times[min(len(times) - 1, int(len(times) * 0.99))]
        print(f"local loaded: {len(times)} GETs, median {ms(statistics.median(times))}, "
              f"p99 {ms(p99)}, worst {ms(times[-1])}, failed: {results['local_failed']}")
    else:
        print(f"local loaded: no GET answered, failed: {results['local_failed']}")
    print(f"memory: VmRSS {before['VmRSS']} kB before, {peak['VmRSS']} kB peak, "
          f"{during['VmRSS']} kB at the end; VmHWM {during['VmHWM']} kB")
    ok = times and results["local_failed"] == 0 and p99 <= 1.0
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
