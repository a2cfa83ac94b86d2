# Program resources: named blobs linked into an executable.
# Filled in with the resource support of platform/base.
