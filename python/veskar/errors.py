"""The one exception the package raises for the library's failures."""


class VeskarError(Exception):
    """A library call failed; `detail` is the library's last error text of
    the calling thread and `code` the call's result code when it has one."""

    def __init__(self, message, detail="", code=None):
        self.message = message
        self.detail = detail
        self.code = code
        super().__init__(f"{message}: {detail}" if detail else message)
