// The entry point of a layer probe: the build links one layer of the
// program whole into it, with only the layers below that layer, so any call
// from the layer to one above it is left undefined and the link fails.
int main()
{
    return 0;
}
