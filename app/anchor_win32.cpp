// Keeps the adapter library non-empty while the adapters are being written.
namespace kestrin {
int kWin32LibraryAnchor = 0;
}
