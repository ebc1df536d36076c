#!/usr/bin/python3
"""pymodbus's client against one simulated sensor: writes, reads back and
the exceptions the sensor owes. Usage: sim_client.py ADDRESS PORT
Prints "ok NAME" or "FAIL NAME: what came" per check; exits 0 when all pass.
"""
import sys

from pymodbus.client import ModbusTcpClient


def main(address, port):
    client = ModbusTcpClient(address, port=port, timeout=3)
    if not client.connect():
        print("FAIL connect")
        return 1

    def registers(first, count):
        read = client.read_holding_registers(first, count, slave=1)
        return None if read.isError() else read.registers

    def exception(response):
        return response.exception_code if response.isError() else None

    checks = [
        ("function 16 writes registers 77 and 78",
         not client.write_registers(77, [12, 3400], slave=1).isError()),
        ("function 3 reads them back", registers(77, 2) == [12, 3400]),
        ("function 6 writes register 120",
         not client.write_register(120, 250, slave=1).isError() and registers(120, 1) == [250]),
        ("function 16 to a measurement register gets exception 2",
         exception(client.write_registers(0, [1, 2], slave=1)) == 2),
        ("function 3 beyond the block gets exception 2",
         exception(client.read_holding_registers(199, 2, slave=1)) == 2),
        ("function 1 gets exception 1", exception(client.read_coils(0, 1, slave=1)) == 1),
        ("function 4 gets exception 1", exception(client.read_input_registers(0, 1, slave=1)) == 1),
        ("function 5 gets exception 1", exception(client.write_coil(0, True, slave=1)) == 1),
    ]
    client.close()
    for name, passed in checks:
        print(f"ok {name}" if passed else f"FAIL {name}", flush=True)
    return 0 if all(passed for _, passed in checks) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], int(sys.argv[2])))
