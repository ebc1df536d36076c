#!/usr/bin/python3
"""A sensor played by pymodbus: holding registers 0 to 199 hold 1000 plus
their number, for one unit id only, on 127.0.0.1 at a port the system picks.
Usage: sensor_server.py UNIT
Prints "READY <port>" once it listens; ends when its standard input closes
(the test that started it is gone) or on SIGTERM.
"""
import asyncio
import sys

from pymodbus.datastore import (ModbusSequentialDataBlock, ModbusServerContext,
                                ModbusSlaveContext)
from pymodbus.server.async_io import ModbusTcpServer


async def main(unit):
    registers = ModbusSequentialDataBlock(0, [1000 + k for k in range(200)])
    # zero_mode: register N is entry N of the block, as on the wire.
    slave = ModbusSlaveContext(hr=registers, zero_mode=True)
    server = ModbusTcpServer(ModbusServerContext(slaves={unit: slave}, single=False),
                             address=("127.0.0.1", 0))
    serving = asyncio.create_task(server.serve_forever())
    await server.serving
    print(f"READY {server.server.sockets[0].getsockname()[1]}", flush=True)

    stdin_closed = asyncio.Event()
    asyncio.get_running_loop().add_reader(
        sys.stdin.fileno(), lambda: sys.stdin.buffer.raw.read(4096) or stdin_closed.set())
    await stdin_closed.wait()
    await server.server_close()
    serving.cancel()


if __name__ == "__main__":
    asyncio.run(main(int(sys.argv[1])))
