# The latency averages and the graph feed.
