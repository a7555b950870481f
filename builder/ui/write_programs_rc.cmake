# Writes the resource lines of the embedded programs; run again whenever either program changes,
# so that the resource script is compiled again with the new bytes.
file(WRITE ${OUTPUT} "126 BIN \"${STUB}\"\n127 BIN \"${LAUNCHER}\"\n")
