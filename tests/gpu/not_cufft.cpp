// Exports a function, but none of cuFFT's.
extern "C" int zentavoNotCufft()
{
    return 0;
}
