"""Which mounted media the Linux launcher offers the program as removable
drives: the mount table read, the disks the system runs from set apart,
and the rest judged by udisks2 where it runs, else by the kernel's sysfs."""
