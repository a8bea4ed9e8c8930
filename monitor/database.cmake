# Filled in by the folder's owner.
