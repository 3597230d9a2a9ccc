// Anchor of the resource library: the bitmaps and the icon are compiled in by qt_add_resources.
namespace velarno {
int recursosVelarno() { return 1; }
}  // namespace velarno
