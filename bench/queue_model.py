#!/usr/bin/env python3
"""A discrete-event model of many 'veskar worker' threads sharing one Redis.

Each worker thread loops: read a job (one Redis command), check the document
(a time drawn around the measured mean), finish it (the finishing script);
every thread also looks for abandoned jobs once a second. Redis serves one
command at a time, first come first served, each taking the given service
time. Prints the documents per second and how busy Redis is for a range of
worker counts, so the point where Redis, not the workers, sets the pace shows.

  bench/queue_model.py [--check-ms 50] [--threads 4] [--redis-us 175,60,35]
"""
import argparse
import heapq
import math
import random


def simulate(machines, threads, check_ms, redis_us, jobs_per_thread=60, seed=1):
    rng = random.Random(seed)
    sigma = 0.8  # documents vary: a lognormal spread around the mean
    mu = math.log(check_ms / 1000.0) - sigma * sigma / 2
    service = redis_us / 1e6 / 3  # a job's Redis time spread over its three commands
    n = machines * threads
    events = [(rng.random() * 0.01, i, "read") for i in range(n)]
    heapq.heapify(events)
    redis_free = 0.0
    redis_busy = 0.0
    done = 0
    left = n * jobs_per_thread
    last_claim = [0.0] * n
    end = 0.0
    while events and done < left:
        t, i, step = heapq.heappop(events)
        if step in ("read", "finish"):
            # Waits for Redis, then holds it for one command (and the claim
            # look-up when a second has passed for this thread).
            start = max(t, redis_free)
            cost = service * (2 if step == "read" else 1)  # the finishing script does four writes
            if step == "read" and t - last_claim[i] >= 1.0:
                cost += service
                last_claim[i] = t
            redis_free = start + cost
            redis_busy += cost
            if step == "read":
                heapq.heappush(events, (redis_free + rng.lognormvariate(mu, sigma), i, "finish"))
            else:
                done += 1
                end = redis_free
                heapq.heappush(events, (redis_free, i, "read"))
    return done / end, redis_busy / end


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--check-ms", type=float, default=50.0, help="mean processor time of one check")
    parser.add_argument("--threads", type=int, default=4, help="worker threads per machine")
    parser.add_argument("--redis-us", default="175,60,35",
                        help="Redis time per job in microseconds, one model per value")
    args = parser.parse_args()
    costs = [float(v) for v in args.redis_us.split(",")]
    print(f"check {args.check_ms:g} ms per document, {args.threads} threads per machine")
    print("machines " + "".join(f"  Redis {c:g} us/job: doc/s busy" for c in costs))
    for machines in (1, 10, 25, 50, 100, 200, 400):
        cells = []
        for cost in costs:
            rate, busy = simulate(machines, args.threads, args.check_ms, cost)
            cells.append(f"{rate:>22.0f} {busy:>5.0%}")
        print(f"{machines:>8}" + "".join(cells))
    ideal = 100 * args.threads * 1000 / args.check_ms
    print(f"100 machines with no queue cost at all: {ideal:.0f} doc/s")


if __name__ == "__main__":
    main()
