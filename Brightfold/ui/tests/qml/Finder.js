.pragma library

// The first item under `root` (depth first, root included) for which `matches` holds.
function find(root, matches) {
    if (root === null || root === undefined)
        return null
    if (matches(root))
        return root
    const kids = root.children || []
    let visitedContent = false
    for (let i = 0; i < kids.length; ++i) {
        visitedContent = visitedContent || kids[i] === root.contentItem
        const found = find(kids[i], matches)
        if (found)
            return found
    }
    return visitedContent ? null : find(root.contentItem, matches)
}

function button(root, text) {
    return find(root, item => item.text === text && item.clicked !== undefined)
}

function text(root, text) {
    return find(root, item => item.text === text && item.clicked === undefined)
}

function icon(root, name) {
    return find(root, item => item.name === name && item.glyph !== undefined)
}
