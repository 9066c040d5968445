// Exchange store builder (placeholder until the builder lands).
