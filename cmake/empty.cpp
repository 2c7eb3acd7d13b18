// An empty translation unit for a layer library that has no sources yet.
