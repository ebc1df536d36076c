#!/usr/bin/python3
"""pymodbus's client, which this project did not write, against one
simulated sensor: writes, reads back and the exceptions the sensor owes.

Usage: sim_client.py ADDRESS PORT
Prints one line per check, "ok NAME" or "FAIL NAME: what came"; exits 0
only when every check passed.
"""
import sys

from pymodbus.client import ModbusTcpClient


def main(address, port):
    client = ModbusTcpClient(address, port=port, timeout=3)
    if not client.connect():
        print("FAIL connect")
        return 1
    failures = 0

    def check(name, ok, got):
        nonlocal failures
        print(f"ok {name}" if ok else f"FAIL {name}: {got}", flush=True)
        failures += 0 if ok else 1

    def exception_code(response):
        return response.exception_code if response.isError() else None

    written = client.write_registers(77, [12, 3400], slave=1)
    check("function 16 writes registers 77 and 78", not written.isError(), written)
    read = client.read_holding_registers(77, 2, slave=1)
    check("function 3 reads them back", not read.isError() and read.registers == [12, 3400], read)

    single = client.write_register(120, 250, slave=1)
    read = client.read_holding_registers(120, 1, slave=1)
    check("function 6 writes and reads back",
          not single.isError() and not read.isError() and read.registers == [250], read)

    expected = [
        ("function 16 to a measurement register", client.write_registers(0, [1, 2], slave=1), 2),
        ("function 3 beyond the block", client.read_holding_registers(199, 2, slave=1), 2),
        ("function 1", client.read_coils(0, 1, slave=1), 1),
        ("function 4", client.read_input_registers(0, 1, slave=1), 1),
        ("function 5", client.write_coil(0, True, slave=1), 1),
    ]
    for name, response, code in expected:
        check(f"{name} gets exception {code}", exception_code(response) == code, response)

    client.close()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], int(sys.argv[2])))
