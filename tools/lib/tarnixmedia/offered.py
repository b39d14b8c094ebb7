"""Each mount of the table with whether it is offered as a removable drive."""

from .systemdisks import SystemDisks


def judge_mounts(mounts: list, blocks, swaps: list, udisks) -> list:
    """(mount, offered) for every mount in table order. A mount is offered
    when its device is a block device on a disk the system does not run
    from, and udisks2 (where it knows the device) or else the kernel
    counts it removable."""
    system = SystemDisks(blocks, mounts, swaps)
    judged = []
    for mount in mounts:
        judged.append((mount, _offered(mount, blocks, system, udisks)))
    return judged


def _offered(mount, blocks, system, udisks) -> bool:
    name = blocks.name_of(mount.device)
    disks = blocks.physical_disks(name, system.device_holding) if name else set()
    if not disks or any(disk in system for disk in disks):
        return False
    if udisks is not None and udisks.knows(mount.device):
        return udisks.offers(mount.device)
    return all(blocks.is_removable(disk) for disk in disks)
