# The platform layer's Windows implementation, one file beside each Linux one
# (the headers are shared), and the system libraries it links.
set(SONVARRO_PLATFORM_SOURCES
)
set(SONVARRO_PLATFORM_LINK
)
